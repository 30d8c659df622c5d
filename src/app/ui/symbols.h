// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

#include <QColor>
#include <QIcon>

namespace tarvelo::ui {

// The icon for one of the system's symbol names ("gearshape", "checkmark.circle.fill", ...): the
// desktop theme's icon of the matching freedesktop name where the theme has one, else a drawing of our
// own, in `tint` (the palette's text colour when invalid). Every name the system uses has a drawing, so
// the icon is never empty; a name the system never uses shows a dashed square around a question mark,
// visibly a stand-in. The theme's symbolic ("-symbolic") icons are recoloured to `tint`; in a selected
// row the symbol takes the palette's highlighted text colour, and a disabled one is faded.
QIcon symbolIcon(std::string_view systemImage, const QColor& tint = QColor());

// The freedesktop icon-theme name for a symbol ("gearshape" -> "preferences-system-symbolic"); empty for none.
std::string_view themeIconName(std::string_view systemImage);

}  // namespace tarvelo::ui
