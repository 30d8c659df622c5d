// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One of the text-field programs of apps/, started for a test or a benchmark and ended with it.
namespace tarvelo::desktop::testing {

enum class Toolkit { gtk, qt };
// A single-line field, a multi-line one, a password field, a single-line field that refuses edits, one
// that holds at most kLimitedLength characters, and (Qt only) one whose text accessibility can read but
// not edit, so that it changes only through keys.
enum class FieldKind { singleLine, multiLine, password, readOnly, limited, keysOnly };
inline constexpr int kLimitedLength = 11;

const char* toolkitName(Toolkit toolkit);
const char* fieldKindName(FieldKind kind);

class TextFieldProgram {
public:
    struct Options {
        Toolkit toolkit = Toolkit::gtk;
        FieldKind kind = FieldKind::singleLine;
        // Environment variables the program must not inherit.
        std::vector<std::string> unsetEnvironment;
    };

    // Starts the program and waits until it says its field has keyboard focus; nullptr with the
    // reason in `failure` when it does not start or does not say so in time.
    static std::unique_ptr<TextFieldProgram> start(const Options& options, std::string& failure);

    // Ends the program and waits for it.
    ~TextFieldProgram();
    TextFieldProgram(const TextFieldProgram&) = delete;
    TextFieldProgram& operator=(const TextFieldProgram&) = delete;

    pid_t pid() const { return pid_; }

    // Puts text and selection in place, marked as "ab|cd" (caret) or "a|bc|d" (selection), through
    // the toolkit's own calls; false when the program does not confirm.
    bool setMarkedText(std::string_view marked);
    // The field's text and selection as the toolkit holds them, marked the same way.
    std::optional<std::string> markedText();

private:
    TextFieldProgram(pid_t pid, int input, int output) : pid_(pid), input_(input), output_(output) {}

    bool send(std::string_view line);
    // The next line the program writes, while GLib's default main context keeps running.
    std::optional<std::string> readLine(double seconds);

    pid_t pid_;
    int input_;
    int output_;
    std::string received_;
};

}  // namespace tarvelo::desktop::testing
