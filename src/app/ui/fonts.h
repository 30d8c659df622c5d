// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QFontDatabase>

// The text styles every window shares. Sizes are logical pixels, one per point of the design, so the
// windows keep their proportions on any screen density.
namespace tarvelo::ui::fonts {

inline QFont sized(int pixels, QFont::Weight weight = QFont::Normal) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(pixels);
    font.setWeight(weight);
    return font;
}

inline QFont monospaced(int pixels, QFont::Weight weight = QFont::Normal) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(pixels);
    font.setWeight(weight);
    return font;
}

inline QFont body() { return sized(13); }
inline QFont callout() { return sized(12); }
inline QFont caption() { return sized(11); }
inline QFont headline() { return sized(13, QFont::DemiBold); }
inline QFont title3() { return sized(15); }
inline QFont title2() { return sized(17); }
inline QFont title() { return sized(22); }

}  // namespace tarvelo::ui::fonts
