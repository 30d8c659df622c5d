// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

class QPainter;

namespace tarvelo::ui {

// Our own picture of a symbol, for desktops whose icon theme lacks it. A drawing works on a square grid
// of `kGrid` units with the painter's pen (the tint, `kLine` units wide, round caps and joins) and
// fills in the pen's colour. Cut-outs clear what lies beneath them, so the painter must paint on a
// transparent layer of its own.
struct SymbolDrawing {
    static constexpr double kGrid = 24.0;
    static constexpr double kLine = 1.8;

    std::string_view name;
    // The freedesktop icon-theme name that means the same; empty when the themes have none.
    std::string_view themeName;
    void (*draw)(QPainter& painter);
};

// The drawing for a symbol name, or nullptr for a name the system never uses.
const SymbolDrawing* findSymbolDrawing(std::string_view name);

// What a name without a drawing shows: a dashed square around a question mark, plainly a stand-in.
void drawUnknownSymbol(QPainter& painter);

}  // namespace tarvelo::ui
