// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/exceptions_settings_view.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/settings_pages.h"
#include "app/ui/fonts.h"
#include "app/ui/setting_block.h"
#include "app/ui/settings_page_style.h"
#include "app/ui/symbols.h"

namespace tarvelo::ui {
namespace {

QWidget* makeEmptyState(QWidget* parent) {
    auto* panel = new QWidget(parent);
    panel->setObjectName("noExceptions");
    auto* lines = new QVBoxLayout(panel);
    lines->setContentsMargins(16, 22, 16, 22);
    lines->setSpacing(8);
    QLabel* symbol = page_style::makeSymbol("text.badge.plus", page_style::secondary(panel->palette()), 34, panel);
    lines->addWidget(symbol, 0, Qt::AlignHCenter);
    QLabel* title = page_style::makeLabel(translated("No Exceptions"), fonts::sized(17, QFont::DemiBold), panel);
    lines->addWidget(title, 0, Qt::AlignHCenter);
    QLabel* description = page_style::makeSecondaryLabel(
        translated("Add product names, abbreviations, or uncommon words you use."), fonts::callout(), panel);
    description->setWordWrap(true);
    description->setAlignment(Qt::AlignHCenter);
    lines->addWidget(description);
    return panel;
}

}  // namespace

ExceptionsSettingsView::ExceptionsSettingsView(ExceptionManager& manager, QWidget* parent)
    : QWidget(parent),
      manager_(manager),
      newWord_(new QLineEdit(this)),
      add_(new QPushButton(translated("Add"), this)),
      list_(new QWidget(this)),
      listRows_(new QVBoxLayout(list_)) {
    QVBoxLayout* column = page_style::makePageColumn(*this);
    auto* block = new SettingBlock(
        translated("Never correct these words"),
        translated("Exceptions are stored only on this computer. Undoing a correction adds its original token here."),
        this);

    newWord_->setObjectName("newWordField");
    newWord_->setPlaceholderText(translated("Add a word"));
    newWord_->setAccessibleName(translated("Add a word"));
    newWord_->setTextMargins(4, 2, 4, 2);
    add_->setObjectName("addButton");
    add_->setEnabled(false);
    page_style::padButton(*add_);
    auto* input = new QHBoxLayout;
    input->setSpacing(8);
    input->addWidget(newWord_, 1);
    input->addWidget(add_);
    block->addRow(input);

    list_->setObjectName("wordList");
    listRows_->setContentsMargins(0, 4, 0, 0);
    listRows_->setSpacing(0);
    block->addRow(list_);
    page_style::addBlock(*column, block);

    connect(newWord_, &QLineEdit::textChanged, this, [this](const QString& text) {
        add_->setEnabled(settings_pages::canAddException(text.toStdString()));
    });
    // Return submits even while "Add" is disabled; the manager ignores blank words.
    connect(newWord_, &QLineEdit::returnPressed, this, [this] { submit(); });
    connect(add_, &QPushButton::clicked, this, [this] { submit(); });

    words_ = manager_.words().subscribe([this](const std::vector<std::string>& words) { showWords(words); });
    showWords(manager_.words().get());
}

void ExceptionsSettingsView::submit() {
    manager_.add(newWord_->text().toStdString());
    newWord_->clear();
}

void ExceptionsSettingsView::showWords(const std::vector<std::string>& words) {
    // A row may be going away while its own button is still delivering the click that removed it.
    while (QLayoutItem* item = listRows_->takeAt(0)) {
        if (QWidget* widget = item->widget()) {
            widget->hide();
            widget->deleteLater();
        }
        delete item;
    }
    if (words.empty()) {
        QWidget* empty = makeEmptyState(list_);
        listRows_->addWidget(empty);
        empty->show();
        return;
    }
    for (const std::string& word : words) {
        const QString text = page_style::text(word);
        auto* row = new QWidget(list_);
        row->setObjectName("wordRow");
        auto* line = new QHBoxLayout(row);
        line->setContentsMargins(0, 5, 0, 5);
        line->addWidget(page_style::makeLabel(text, fonts::body(), row), 1);
        auto* remove = new QToolButton(row);
        remove->setObjectName("removeWordButton");
        remove->setText(translated("Remove"));
        remove->setToolTip(translated("Remove"));
        remove->setAccessibleName(translated("Remove {item}", {{"item", word}}));
        remove->setIcon(symbolIcon("minus.circle", page_style::secondary(row->palette())));
        remove->setIconSize(QSize(16, 16));
        remove->setToolButtonStyle(Qt::ToolButtonIconOnly);
        remove->setAutoRaise(true);
        remove->setCursor(Qt::PointingHandCursor);
        connect(remove, &QToolButton::clicked, this, [this, word] { manager_.remove(word); });
        line->addWidget(remove);
        QWidget* divider = page_style::makeDivider(list_);
        listRows_->addWidget(row);
        listRows_->addWidget(divider);
        // Shown now, not on the next turn of the event loop, so that the list is whole at once.
        row->show();
        divider->show();
    }
}

}  // namespace tarvelo::ui
