// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tarvelo {

// How the desktop names the chords that Tarvelo answers to, and the desktop's own words for the places
// and settings the interface points to. The monitor recognises the chords by physical key and modifier
// flag; only their names differ from one desktop to another. Every text here is whole and in English:
// it is the message id that the interface translates.
struct KeyLabels {
    std::string convertSelection;
    std::string convertLastWord;
    std::string undo;
    std::string quit;
    // The chords inside a sentence ("Use Option\u2013Space to ...", "Press Command\u2013Z to undo.").
    std::string convertSelectionInSentence;
    std::string undoInSentence;

    // Where the status icon lives: the switch that shows it, and the last onboarding step's heading.
    std::string showIconToggle;
    std::string readyHeading;
    // What correction needs from the desktop, on the onboarding and privacy pages.
    std::string accessHeading;
    std::string accessNote;
    std::string limitedAccessText;
    std::string accessBlockTitle;
    std::string accessBlockDetail;
    std::string inputAccessTitle;
    // The buttons that open the desktop's settings for each kind of access; empty where the desktop has
    // no such settings, and then there is no button.
    std::string openAccessibilitySettings;
    std::string openInputAccessSettings;
    std::string restartMonitor;
    std::string hotkeysDetail;
    // How an application is named for the exclusion list, and an example of such a name.
    std::string addIdentifierTitle;
    std::string identifierExample;

    // The Mac's symbols and names: the Option key is Alt and the Command key is Ctrl on a PC keyboard.
    static KeyLabels mac() {
        return {
            .convertSelection = "\u2325 Space",
            .convertLastWord = "\u2325\u2318 Space",
            .undo = "\u2318 Z",
            .quit = "\u2318 Q",
            .convertSelectionInSentence = "Option\u2013Space",
            .undoInSentence = "Command\u2013Z",
            .showIconToggle = "Show menu bar icon",
            .readyHeading = "Ready in the menu bar",
            .accessHeading = "Two permissions make correction possible",
            .accessNote = "Tarvelo never analyzes secure text fields. You can continue without permission and grant "
                          "access later in Settings.",
            .limitedAccessText = "The app will stay idle until both permissions are granted. Open Settings \u2192 "
                                 "Privacy when you\u2019re ready.",
            .accessBlockTitle = "Permissions",
            .accessBlockDetail = "Both permissions are required for automatic cross-application correction.",
            .inputAccessTitle = "Input Monitoring",
            .openAccessibilitySettings = "Open System Settings",
            .openInputAccessSettings = "Open System Settings",
            .restartMonitor = "Restart Monitor",
            .hotkeysDetail = "Shortcuts work whenever Input Monitoring is granted. They are intercepted by the same "
                             "event tap used for word boundaries.",
            .addIdentifierTitle = "Add bundle identifier",
            .identifierExample = "com.example.App",
        };
    }

    // A Linux desktop on X11: the panel's tray, the desktop's accessibility settings, and the X server's
    // keyboard extensions, which are there or not and have no settings of their own.
    static KeyLabels pc() {
        return {
            .convertSelection = "Alt+Space",
            .convertLastWord = "Ctrl+Alt+Space",
            .undo = "Ctrl+Z",
            .quit = "Ctrl+Q",
            .convertSelectionInSentence = "Alt+Space",
            .undoInSentence = "Ctrl+Z",
            .showIconToggle = "Show tray icon",
            .readyHeading = "Ready in the tray",
            .accessHeading = "Two things make correction possible",
            .accessNote = "Tarvelo never analyzes secure text fields. You can continue now and turn on "
                          "accessibility later in Settings.",
            .limitedAccessText = "Tarvelo will stay idle until both are available. Open Settings \u2192 Privacy "
                                 "when you\u2019re ready.",
            .accessBlockTitle = "Access",
            .accessBlockDetail = "Tarvelo needs both to correct words in other programs.",
            .inputAccessTitle = "Keyboard access",
            .openAccessibilitySettings = "Open Accessibility Settings",
            .openInputAccessSettings = "",
            .restartMonitor = "Restart Correction",
            .hotkeysDetail = "Shortcuts work whenever Tarvelo has keyboard access. Tarvelo reserves them with the "
                             "X server, so the program you type in does not receive them.",
            .addIdentifierTitle = "Add application ID",
            .identifierExample = "org.gnome.TextEditor",
        };
    }

    // The same desktop where an input method (IBus, fcitx5) hands Tarvelo the keys.
    static KeyLabels pcInputMethod() {
        KeyLabels labels = pc();
        labels.hotkeysDetail = "Shortcuts work in the programs whose keys reach Tarvelo through your input method. "
                               "Tarvelo takes them before the program you type in, so the program does not receive "
                               "them.";
        return labels;
    }

    friend bool operator==(const KeyLabels&, const KeyLabels&) = default;
};

}  // namespace tarvelo
