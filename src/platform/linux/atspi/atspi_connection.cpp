// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/atspi/atspi_connection.h"

#include <atspi/atspi.h>
#include <glib.h>

namespace tarvelo::desktop::atspi_connection {

bool ensureConnected() {
    // libatspi keeps its connection in globals of its own; these only mirror what it has.
    static bool connected = false;
    static bool attempted = false;
    static gint64 lastAttempt = 0;
    if (connected) return true;
    const gint64 now = g_get_monotonic_time();
    if (attempted && now - lastAttempt < static_cast<gint64>(kRetryInterval * G_USEC_PER_SEC)) return false;
    attempted = true;
    lastAttempt = now;
    const int status = atspi_init();
    // 1: connected already, by an earlier call that this function did not make.
    if (status == 0 || status == 1) {
        atspi_set_timeout(kRequestTimeout, 0);
        connected = true;
        return true;
    }
    // Forget the failed attempt so that the next one connects afresh.
    atspi_exit();
    return false;
}

}  // namespace tarvelo::desktop::atspi_connection
