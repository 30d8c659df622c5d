#pragma once

#include <string_view>

#include <QColor>
#include <QIcon>

namespace tarvelo::ui {

// The icon for one of the system's symbol names ("gearshape", "checkmark.circle.fill", ...): the
// desktop theme's icon of the matching freedesktop name where the theme has one, else a drawing of our
// own, in `tint` (the palette's text colour when invalid). Every name the system uses has a drawing, so
// the icon is never empty.
QIcon symbolIcon(std::string_view systemImage, const QColor& tint = QColor());

// The freedesktop icon-theme name for a symbol ("gearshape" -> "preferences-system"); empty for none.
std::string_view themeIconName(std::string_view systemImage);

}  // namespace tarvelo::ui
