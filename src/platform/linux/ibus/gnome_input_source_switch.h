// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/linux/ibus/gnome_input_source_list.h"
#include "support/lifetime.h"
#include "support/scheduler.h"

namespace tarvelo::desktop {

// Has GNOME Shell switch to the input source of one IBus engine in the user's list, so that the engine,
// the keymap the clients type with and the shell's indicator change together, as with the shell's own
// switcher.
//
// GNOME Shell 43 lets no other program pick an input source: its D-Bus Eval works only in unsafe mode,
// an engine set on IBus from outside leaves the shell's keymap behind, and it reads `mru-sources` only
// when it starts. It does follow the `sources` key: on each change it rebuilds its sources and activates
// the most recently used one still listed, keeping its own order of use while that holds two or more
// sources, and starting it afresh, in the listed order, otherwise. Reordering the list or leaving out the
// current source therefore changes nothing or loses the user's order. What works is two writes:
//   1. the wanted source twice, [T, T]: the only one left, so the shell activates it, and its order of
//      use is [T, T], two entries, so it survives the next change;
//   2. the user's own list again, once IBus reports T's engine: T leads the order of use and stays
//      active, and the list is as the user left it.
// The second write waits for the engine because a settings backend hands the shell the value as it is
// when the shell reads it: written at once, the user's list could be all the shell sees, and nothing
// would switch. When the shell does not switch within kTimeout the user's list is written back all the
// same; when the list has changed meanwhile (the user, another program), it is left as it is.
class GnomeInputSourceSwitch {
public:
    using Read = std::function<GnomeInputSourceList()>;
    using Write = std::function<bool(const GnomeInputSourceList&)>;

    // Seconds the shell has to take up the first write before the user's list goes back.
    static constexpr double kTimeout = 2.0;

    // `read` and `write` reach org.gnome.desktop.input-sources' `sources`.
    GnomeInputSourceSwitch(Scheduler& scheduler, Read read, Write write);
    // Puts the user's list back when a switch is under way (finish()).
    ~GnomeInputSourceSwitch();
    GnomeInputSourceSwitch(const GnomeInputSourceSwitch&) = delete;
    GnomeInputSourceSwitch& operator=(const GnomeInputSourceSwitch&) = delete;

    // Starts the switch to the source of IBus engine `engine`. False, with nothing written, when the
    // user's list does not hold it or the settings refuse the write.
    bool select(const std::string& engine);

    // IBus's global engine is now `engine`, whoever chose it.
    void engineChanged(const std::string& engine);

    // Ends a switch under way at once: the user's list goes back (unless it has changed meanwhile),
    // whether or not the shell has switched. Called before the process lets go of the settings, so that
    // the passing list never outlives it.
    void finish();

    // Whether the settings hold the passing list and the user's list is still to come back.
    bool switching() const { return userSources_.has_value(); }

private:
    void restore();

    Scheduler& scheduler_;
    Read read_;
    Write write_;
    std::optional<GnomeInputSourceList> userSources_;
    GnomeInputSourceList passing_;
    std::string engine_;
    std::uint64_t attempt_ = 0;
    Lifetime lifetime_;
};

}  // namespace tarvelo::desktop
