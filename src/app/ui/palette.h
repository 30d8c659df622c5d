// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

// The colours every window shares, so that the pages look like one product.
namespace tarvelo::ui::palette {

// The accent of the logo, the symbols and the prominent buttons.
inline QColor accent() { return QColor::fromRgbF(0.73f, 0.61f, 0.96f); }
// The About window's accent and secondary text, on its dark background.
inline QColor lavender() { return QColor::fromRgbF(0.66f, 0.54f, 0.85f); }
inline QColor muted() { return QColor::fromRgbF(1.0f, 1.0f, 1.0f, 0.64f); }
inline QColor aboutBackground() { return QColor::fromRgbF(0.035f, 0.038f, 0.055f); }
// A granted permission, as a symbol; text takes window_colors::goodText.
inline QColor good() { return QColor(0x2e, 0xa0, 0x43); }
// The struck-through word of the correction example.
inline QColor wrong() { return QColor(0xd7, 0x3a, 0x49); }

}  // namespace tarvelo::ui::palette
