// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

struct _GSettings;
struct _GSettingsBackend;

namespace tarvelo::desktop {

// GNOME's input sources as Tarvelo offers to set them up: its two engines in place of the English (US)
// and Russian keyboards, the user's other sources and their order kept; and those keyboards back.
// GNOME Shell follows the settings at once. Main thread only.
class GnomeInputSourceSetup {
public:
    // None outside a GNOME session or without the settings. The settings are kept in `backend` where
    // given (tests keep them in memory), else where the desktop keeps them.
    static std::unique_ptr<GnomeInputSourceSetup> open(_GSettingsBackend* backend = nullptr);
    ~GnomeInputSourceSetup();
    GnomeInputSourceSetup(const GnomeInputSourceSetup&) = delete;
    GnomeInputSourceSetup& operator=(const GnomeInputSourceSetup&) = delete;

    // Whether one of Tarvelo's engines is among the user's input sources.
    bool usesTarvelo() const;
    // Each false when the settings refuse the change.
    bool useTarvelo();
    bool restoreKeyboards();

private:
    explicit GnomeInputSourceSetup(_GSettings* settings) : settings_(settings) {}

    _GSettings* settings_;
};

}  // namespace tarvelo::desktop
