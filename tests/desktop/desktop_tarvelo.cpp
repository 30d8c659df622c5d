// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop_tarvelo.h"

namespace tarvelo::desktop::testing {

DesktopTarvelo::DesktopTarvelo(KeyboardBackend backend)
    : desktop(backend),
      app(settings, permissions, exceptions, applicationFilter, statistics, inputSource, desktop.pipelinePlatform(),
          shell) {}

}  // namespace tarvelo::desktop::testing
