// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QString>

namespace tarvelo::ui {

// The About window's link to the developer's website: one rounded tile holding a globe, "Visit Developer
// Website" over the domain, and an outward arrow. It is a single focusable button whose accessible name
// says where it leads; the symbols inside it are pictures, not elements of their own.
class WebsiteLinkButton : public QAbstractButton {
public:
    WebsiteLinkButton(const QString& domain, const QColor& accent, const QColor& muted, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString domain_;
    QColor accent_;
    QColor muted_;
};

}  // namespace tarvelo::ui
