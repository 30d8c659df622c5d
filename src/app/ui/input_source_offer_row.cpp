// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/input_source_offer_row.h"

#include <utility>

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

#include "app/ui/fonts.h"
#include "app/ui/qt_text.h"

namespace tarvelo::ui {

InputSourceOfferRow::InputSourceOfferRow(InputSourceOffer offer, Form form, QWidget* parent)
    : QWidget(parent), offer_(std::move(offer)), form_(form), text_(new QLabel(this)), button_(new QPushButton(this)) {
    setObjectName(QStringLiteral("inputSourceOffer"));
    text_->setObjectName(QStringLiteral("inputSourceText"));
    text_->setTextFormat(Qt::PlainText);
    text_->setFont(fonts::callout());
    text_->setWordWrap(true);
    button_->setObjectName(QStringLiteral("inputSourceButton"));

    // The text takes the whole width, so that it keeps to few lines in the onboarding's fixed height.
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    column->addWidget(text_);
    column->addWidget(button_, 0, Qt::AlignLeft);
    connect(button_, &QPushButton::clicked, this, [this] { confirm(); });
    refresh();
}

void InputSourceOfferRow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refresh();
}

void InputSourceOfferRow::refresh() {
    usesTarvelo_ = offer_.usesTarvelo();
    QStringList lines;
    if (form_ == Form::full) {
        lines << (usesTarvelo_ ? translated("English (Tarvelo) and Russian (Tarvelo) are among your input sources: "
                                            "Tarvelo sees the keys typed with either selected.")
                               : translated("Tarvelo sees the keys typed with its own input sources. It can put them "
                                            "in place of English (US) and Russian, keeping your other sources."));
    }
    if (refused_) lines << translated("GNOME\u2019s settings did not take the change.");
    text_->setText(lines.join(QStringLiteral("\n")));
    text_->setVisible(!lines.isEmpty());
    button_->setText(usesTarvelo_ ? translated("Restore Keyboards") : translated("Use Tarvelo\u2019s Input Sources"));
}

void InputSourceOfferRow::confirm() {
    auto* alert = new QMessageBox(this);
    alert->setObjectName(QStringLiteral("inputSourceAlert"));
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->setWindowModality(Qt::WindowModal);
    alert->setIcon(QMessageBox::Question);
    const bool restoring = usesTarvelo_;
    const QString question = restoring ? translated("Put English (US) and Russian back?")
                                       : translated("Use Tarvelo\u2019s input sources?");
    alert->setWindowTitle(question);
    alert->setText(question);
    alert->setInformativeText(
        restoring ? translated("English (US) and Russian take the places of English (Tarvelo) and Russian (Tarvelo) "
                               "in your input sources, and Tarvelo corrects nothing until its input sources are "
                               "chosen again.")
                  : translated("English (Tarvelo) and Russian (Tarvelo) take the places of English (US) and Russian "
                               "in your input sources. They type as those keyboards do, and Super+Space switches "
                               "between them as before."));
    QPushButton* accept = alert->addButton(restoring ? translated("Restore") : translated("Use"), QMessageBox::AcceptRole);
    accept->setObjectName(QStringLiteral("confirmInputSourceButton"));
    QPushButton* cancel = alert->addButton(translated("Cancel"), QMessageBox::RejectRole);
    alert->setDefaultButton(accept);
    alert->setEscapeButton(cancel);
    connect(accept, &QPushButton::clicked, this, [this, restoring] {
        refused_ = !(restoring ? offer_.restoreKeyboards() : offer_.useTarvelo());
        refresh();
    });
    alert->open();
}

}  // namespace tarvelo::ui
