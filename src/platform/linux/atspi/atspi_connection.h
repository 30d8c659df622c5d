// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// libatspi's connection to the desktop's accessibility bus, one per process.
namespace tarvelo::desktop::atspi_connection {

// How long one request to an application may take, in milliseconds. libatspi would otherwise give an
// application it has just met 15 seconds, and a hung application would stall the main thread that long.
inline constexpr int kRequestTimeout = 800;

// The least time between two failed attempts to connect, in seconds: each one warns on stderr.
inline constexpr double kRetryInterval = 10.0;

// Connects this process to the accessibility bus the first time; answers whether libatspi may be used.
// When there is no bus, libatspi ends the process on its next call, so nothing may call it then. A
// failed connection is tried again on a later call, at most once every kRetryInterval. Main thread
// only.
bool ensureConnected();

}  // namespace tarvelo::desktop::atspi_connection
