// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "app/ui/desktop_context.h"

class QLabel;
class QPushButton;

namespace tarvelo::ui {

// Where Tarvelo is GNOME's input method: what the user's input sources are, and the button that, once
// the user confirms, puts Tarvelo's engines in the keyboards' places or the keyboards back. Read again
// each time it is shown, as the sources may change in GNOME's settings meanwhile.
class InputSourceOfferRow : public QWidget {
public:
    // Compact, the row is the button alone (its alert says what it does) and a line when GNOME's
    // settings refuse the change: the onboarding's step has no room for more.
    enum class Form { full, compact };
    InputSourceOfferRow(InputSourceOffer offer, Form form, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void refresh();
    void confirm();

    InputSourceOffer offer_;
    Form form_;
    bool usesTarvelo_ = false;
    bool refused_ = false;
    QLabel* text_;
    QPushButton* button_;
};

}  // namespace tarvelo::ui
