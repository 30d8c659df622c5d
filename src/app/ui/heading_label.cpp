// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/heading_label.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace tarvelo::ui {
namespace {

class HeadingAccessible final : public QAccessibleWidget {
public:
    explicit HeadingAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Heading) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            return static_cast<const QLabel*>(widget())->text().simplified();
        }
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* headingAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String(HeadingLabel::staticMetaObject.className()) && object != nullptr &&
        object->isWidgetType()) {
        return new HeadingAccessible(static_cast<QWidget*>(object));
    }
    return nullptr;
}

}  // namespace

HeadingLabel::HeadingLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    // Qt keeps a list of factories for the whole process; ours is added once.
    static const bool registered = [] {
        QAccessible::installFactory(headingAccessible);
        return true;
    }();
    (void)registered;
    setTextFormat(Qt::PlainText);
    setFocusPolicy(Qt::TabFocus);
}

}  // namespace tarvelo::ui
