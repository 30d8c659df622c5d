// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

class QLayout;
class QVBoxLayout;

namespace tarvelo::ui {

// A titled group of controls on a settings page: the title in the headline font, an optional detail in
// the callout font and secondary colour, then the content rows, 10 pixels apart, all of the page's width.
class SettingBlock : public QWidget {
    Q_OBJECT

public:
    static constexpr int kRowSpacing = 10;

    explicit SettingBlock(const QString& title, const QString& detail = {}, QWidget* parent = nullptr);

    // Appends a content row; the block takes ownership.
    void addRow(QWidget* row);
    void addRow(QLayout* row);

private:
    QVBoxLayout* rows_;
};

}  // namespace tarvelo::ui
