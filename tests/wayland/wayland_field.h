// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

// A text-field program of our own (tests/desktop/apps, apps/) running as a Wayland client of the
// session's compositor, its input method reached the way the toolkit reaches it on that desktop.
namespace tarvelo::wayland::testing {

enum class Toolkit { gtk3, gtk4, qt6 };
const char* toolkitName(Toolkit toolkit);

// The compositor the field runs on, which decides how it reaches the input method.
// GNOME Shell: GTK 3 and GTK 4 through the Wayland text-input protocol (GTK_IM_MODULE=wayland:
// text-input-v3 to the shell, the shell to IBus); Qt 6 through IBus directly (QT_IM_MODULE=ibus), as
// Qt 6.4's own Wayland text-input (v2) does not reach the input method there.
// KWin: all three through the Wayland text-input protocol (GTK_IM_MODULE=wayland for text-input-v3,
// no QT_IM_MODULE for Qt's text-input-v2), KWin passing it on to fcitx5, its input method, through
// input-method-v1; this is what Plasma sets up, and took a key and its correction in less time than
// fcitx5's D-Bus modules (GTK_IM_MODULE=fcitx, QT_IM_MODULE=fcitx) did.
enum class Desktop { gnome, kde };

class WaylandField {
public:
    struct Options {
        Toolkit toolkit = Toolkit::gtk3;
        bool password = false;
        Desktop desktop = Desktop::gnome;
    };

    // Starts the program and waits until it says its field has the keyboard focus, and half a second
    // more for the input method to take the field; nullptr with the reason in `failure` when it does
    // not start or does not say so in time.
    // With `programName`, a copy of the program runs under that file name, as another application
    // would be named by it.
    static std::unique_ptr<WaylandField> start(const Options& options, std::string& failure,
                                               const std::string& programName = {});

    // Ends the program and waits for it.
    ~WaylandField();
    WaylandField(const WaylandField&) = delete;
    WaylandField& operator=(const WaylandField&) = delete;

    // Puts text and selection in place, marked as "ab|cd" (caret) or "a|bc|d" (selection); false when
    // the program does not confirm.
    bool setMarkedText(std::string_view marked);
    // The field's text and selection as the toolkit holds them, marked the same way.
    std::optional<std::string> markedText();
    // Saves a picture of the field's window at `path` (PNG); Qt 6 fields only.
    bool saveScreenshot(const std::string& path);
    // The field's text alone.
    std::optional<std::string> text();
    // The field's text once it reads `expected`, or as it is after `milliseconds`: keys travel through
    // the compositor and the input method, so the last of them may reach the field after a command
    // sent at once.
    std::optional<std::string> textWhenItReads(std::string_view expected, int milliseconds = 5000);

private:
    WaylandField(pid_t pid, int input, int output, std::string copyDirectory)
        : pid_(pid), input_(input), output_(output), copyDirectory_(std::move(copyDirectory)) {}

    bool send(std::string_view line);
    std::optional<std::string> readLine(int milliseconds);

    pid_t pid_;
    int input_;
    int output_;
    // The folder of the program's copy, removed with the field; empty when the program is its own.
    std::string copyDirectory_;
    std::string received_;
};

}  // namespace tarvelo::wayland::testing
