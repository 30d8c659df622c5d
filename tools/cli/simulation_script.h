// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tarvelo::cli {

// One thing the pretend user does, read from a line of `tarvelo-cli simulate`.
namespace step {
struct Type {
    std::string text;  // typed one key per character
};
enum class Chord { deleteKey, convertSelection, convertLastWord, undo, copy };
struct Press {
    Chord chord;
};
struct Wait {
    double seconds = 0.0;
};
struct SwitchApplication {
    std::optional<std::string> identifier;  // none: an application that reports no identifier
};
struct FocusPassword {};
struct FocusField {};
struct FocusNothing {};
struct Select {
    std::size_t characters = 0;  // before the caret
};
}  // namespace step

using Step = std::variant<step::Type, step::Press, step::Wait, step::SwitchApplication, step::FocusPassword,
                          step::FocusField, step::FocusNothing, step::Select>;

// The steps of one input line (without its line break). Plain text is typed as it stands; "{...}"
// names a key or an action, and "{{" types a "{". Throws CommandError (badInput) for an unknown or
// malformed escape, naming it.
std::vector<Step> parseSimulationLine(std::string_view line);

}  // namespace tarvelo::cli
