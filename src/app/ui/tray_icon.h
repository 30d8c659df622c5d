// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include <QColor>
#include <QIcon>
#include <QString>
#include <QStringList>

#include "app/operational_status.h"

namespace tarvelo::ui {

// The status icon's name in the hicolor theme, one per status: "tarvelo-active-symbolic",
// "tarvelo-paused-symbolic", "tarvelo-off-symbolic", and "tarvelo-attention-symbolic" for both states
// that need the user.
QString trayIconName(OperationalStatus status);

// The status icon. Where the named symbolic icon is installed under one of `iconThemeFolders` (the
// desktop's icon theme folders), the icon carries that name, and a panel that takes icons by name
// (StatusNotifierItem) draws the installed icon in its own colours, light, dark or high contrast. The
// picture it paints itself, for panels that take pictures (XEmbed), is the status symbol in near-black
// on a light `panel` and in near-white on a dark one; where the panel's colour is not known, in white
// with a dark rim, which shows on light and dark panels alike.
QIcon trayIcon(OperationalStatus status, const QStringList& iconThemeFolders = QIcon::themeSearchPaths(),
               const std::optional<QColor>& panel = std::nullopt);

// Whether `panel` is light enough for a dark symbol to stand out more than a light one.
bool isLightPanel(const QColor& panel);

}  // namespace tarvelo::ui
