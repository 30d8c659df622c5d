// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

#include <QString>
#include <QWidget>

namespace tarvelo::ui {

// One privacy promise: its symbol in the accent colour in a 22-pixel column, beside the title over its
// detail.
class PrivacyPoint : public QWidget {
    Q_OBJECT

public:
    PrivacyPoint(std::string_view icon, const QString& title, const QString& detail, QWidget* parent = nullptr);
};

}  // namespace tarvelo::ui
