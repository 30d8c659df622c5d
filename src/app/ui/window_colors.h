// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPalette>

#include "app/ui/palette.h"

// The colours the windows derive from the desktop's palette, so that a light and a dark desktop both
// read well.
namespace tarvelo::ui::window_colors {

inline QColor mix(const QColor& from, const QColor& to, double amount) {
    const auto blend = [amount](float a, float b) { return static_cast<float>(a + (b - a) * amount); };
    return QColor::fromRgbF(blend(from.redF(), to.redF()), blend(from.greenF(), to.greenF()),
                            blend(from.blueF(), to.blueF()));
}

inline bool isLight(const QPalette& palette) { return palette.color(QPalette::Window).lightnessF() > 0.5; }

// Text that explains rather than says: the text colour faded toward the background.
inline QColor secondary(const QPalette& palette) {
    return mix(palette.color(QPalette::Window), palette.color(QPalette::WindowText), 0.6);
}

// The light lavender reads well on dark backgrounds only; on light ones the same hue, darker.
inline QColor accentTint(const QPalette& palette) {
    return isLight(palette) ? palette::accent().darker(170) : palette::accent();
}

// Text that says something needs the user, and text that says all is well: orange and green that keep
// a contrast of at least 4.5:1 on the window's background, light or dark.
inline QColor warningText(const QPalette& palette) {
    return isLight(palette) ? QColor(0x9c, 0x4f, 0x00) : QColor(0xff, 0xb3, 0x40);
}
inline QColor goodText(const QPalette& palette) {
    return isLight(palette) ? QColor(0x17, 0x70, 0x2f) : QColor(0x3f, 0xb9, 0x50);
}

// The hairline between a window's header, content and footer.
inline QColor divider(const QPalette& palette) {
    QColor colour = palette.color(QPalette::WindowText);
    colour.setAlphaF(0.14f);
    return colour;
}

}  // namespace tarvelo::ui::window_colors
