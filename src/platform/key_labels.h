// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tarvelo {

// How the desktop names the chords that Tarvelo answers to, as a person reads them in a menu, on a key
// cap or in a notification. The monitor recognises the chords by physical key and modifier flag; only
// their names differ from one desktop to another.
struct KeyLabels {
    std::string convertSelection;
    std::string convertLastWord;
    std::string undo;
    std::string quit;
    // The chords inside a sentence ("Use Option\u2013Space to ...", "Press Command\u2013Z to undo.").
    std::string convertSelectionInSentence;
    std::string undoInSentence;

    // The Mac's symbols: the Option key is Alt and the Command key is Ctrl on a PC keyboard.
    static KeyLabels mac() {
        return {"\u2325 Space", "\u2325\u2318 Space", "\u2318 Z", "\u2318 Q", "Option\u2013Space", "Command\u2013Z"};
    }
    static KeyLabels pc() { return {"Alt+Space", "Ctrl+Alt+Space", "Ctrl+Z", "Ctrl+Q", "Alt+Space", "Ctrl+Z"}; }

    friend bool operator==(const KeyLabels&, const KeyLabels&) = default;
};

}  // namespace tarvelo
