// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QString>
#include <QWidget>

class QLabel;
class QPushButton;

namespace tarvelo::ui {

// One permission: a status symbol ("Granted" or "Not granted" to accessibility), the title over its
// detail, and, only while not granted, the button that asks for it.
class PermissionRow : public QWidget {
public:
    // `actionTitle` names the button that runs `action`; empty, the row has no button.
    PermissionRow(const QString& title, const QString& detail, const QString& actionTitle, std::function<void()> action,
                  QWidget* parent = nullptr);

    void setGranted(bool granted);
    bool isGranted() const { return granted_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void refresh();

    bool granted_ = false;
    QLabel* status_;
    QLabel* detail_;
    QPushButton* button_;
    bool hasAction_;
};

}  // namespace tarvelo::ui
