// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "store/exception_manager.h"
#include "support/subscription.h"

class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace tarvelo::ui {

// The Exceptions page: a field to add a word, and the user's words with a button to remove each, or a
// note that there are none.
class ExceptionsSettingsView : public QWidget {
    Q_OBJECT

public:
    explicit ExceptionsSettingsView(ExceptionManager& manager, QWidget* parent = nullptr);

private:
    void submit();
    void showWords(const std::vector<std::string>& words);

    ExceptionManager& manager_;
    QLineEdit* newWord_;
    QPushButton* add_;
    QWidget* list_;
    QVBoxLayout* listRows_;
    Subscription words_;
};

}  // namespace tarvelo::ui
