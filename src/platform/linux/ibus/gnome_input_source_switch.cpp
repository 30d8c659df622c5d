// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/ibus/gnome_input_source_switch.h"

#include <algorithm>
#include <utility>

namespace tarvelo::desktop {
namespace {

constexpr const char* kIbusType = "ibus";

}  // namespace

GnomeInputSourceSwitch::GnomeInputSourceSwitch(Scheduler& scheduler, Read read, Write write)
    : scheduler_(scheduler), read_(std::move(read)), write_(std::move(write)) {}

GnomeInputSourceSwitch::~GnomeInputSourceSwitch() { finish(); }

bool GnomeInputSourceSwitch::select(const std::string& engine) {
    const GnomeInputSourceList current = read_();
    // During a switch the settings hold the passing list; the user's is the one kept aside, unless
    // someone has written another since.
    const GnomeInputSourceList user = switching() && current == passing_ ? *userSources_ : current;
    const GnomeInputSource wanted{kIbusType, engine};
    if (std::find(user.begin(), user.end(), wanted) == user.end()) return false;
    const GnomeInputSourceList passing{wanted, wanted};
    if (!write_(passing)) return false;
    userSources_ = user;
    passing_ = passing;
    engine_ = engine;
    const std::uint64_t attempt = ++attempt_;
    scheduler_.after(kTimeout, lifetime_.guard([this, attempt] {
        if (switching() && attempt == attempt_) restore();
    }));
    return true;
}

void GnomeInputSourceSwitch::engineChanged(const std::string& engine) {
    if (switching() && engine == engine_) restore();
}

void GnomeInputSourceSwitch::finish() {
    if (switching()) restore();
}

void GnomeInputSourceSwitch::restore() {
    const GnomeInputSourceList user = *std::exchange(userSources_, std::nullopt);
    if (read_() == passing_) write_(user);
}

}  // namespace tarvelo::desktop
