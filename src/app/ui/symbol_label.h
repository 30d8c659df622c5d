// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>

class QLabel;

namespace tarvelo::ui {

// A symbol followed by text, both in one colour (the palette's text colour when none is given).
class SymbolLabel : public QWidget {
    Q_OBJECT

public:
    SymbolLabel(std::string_view systemImage, const QString& text, const QFont& font, const QColor& color = {},
                QWidget* parent = nullptr);

    void setSymbol(std::string_view systemImage);
    void setText(const QString& text);
    void setColor(const QColor& color);
    // Lets long text wrap beside the symbol, which then stays by the first line.
    void setWordWrap(bool wrap);

    QString text() const;
    QColor color() const { return color_; }
    std::string_view symbol() const { return systemImage_; }

private:
    void renderSymbol();

    std::string systemImage_;
    QColor color_;
    QLabel* symbol_;
    QLabel* text_;
};

}  // namespace tarvelo::ui
