// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

#include <QColor>
#include <QFont>
#include <QString>

#include "app/ui/qt_text.h"

class QFrame;
class QLabel;
class QPalette;
class QPushButton;
class QVBoxLayout;
class QWidget;

// What the settings pages share beyond the fonts and the palette: the derived colours, labels, dividers
// and the column that stacks a page's blocks.
namespace tarvelo::ui::page_style {

// Blocks and their dividers are this far apart.
inline constexpr int kBlockSpacing = 18;

using ui::text;

// Text that explains rather than says: the window's text colour faded toward its background.
QColor secondary(const QPalette& palette);
// The faint fill behind key caps and badges.
QColor quaternaryFill(const QPalette& palette);
// The accent, darkened on light backgrounds so that symbols and text in it stay legible.
QColor accentTint(const QPalette& palette);
// The background of the settings detail pane.
QColor detailBackground(const QPalette& palette);

void setTextColor(QWidget& widget, const QColor& color);

QLabel* makeLabel(const QString& text, const QFont& font, QWidget* parent = nullptr);
QLabel* makeSecondaryLabel(const QString& text, const QFont& font, QWidget* parent = nullptr);
// Sets a push button in the body font with room around its text, which the desktop's style keeps
// tight; again after each change of its text.
void padButton(QPushButton& button);
// A one-pixel horizontal line in the palette's mid colour.
QFrame* makeDivider(QWidget* parent = nullptr);
// A symbol drawn at `pixels` logical pixels, as a label.
QLabel* makeSymbol(std::string_view systemImage, const QColor& tint, int pixels, QWidget* parent = nullptr);

// The vertical layout of a page: no margins of its own (the detail pane pads it).
QVBoxLayout* makePageColumn(QWidget& page);
// Appends `block`, preceded by a divider unless it is the first.
void addBlock(QVBoxLayout& column, QWidget* block);

}  // namespace tarvelo::ui::page_style
