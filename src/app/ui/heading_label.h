// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QString>

namespace tarvelo::ui {

// A label that assistive technology announces as a heading, with its text (line breaks read as spaces)
// as its name. It can take keyboard focus, so that a window can move focus to the heading of what it
// now shows.
class HeadingLabel : public QLabel {
    Q_OBJECT

public:
    explicit HeadingLabel(const QString& text = {}, QWidget* parent = nullptr);
};

}  // namespace tarvelo::ui
