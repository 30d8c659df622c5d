// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/tray_icon.h"

#include <utility>

#include <QFileInfo>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

#include "app/ui/qt_text.h"
#include "app/ui/symbols.h"

namespace tarvelo::ui {
namespace {

// Paints the picture, and answers the installed icon's name to whoever publishes the icon by name.
class NamedIconEngine final : public QIconEngine {
public:
    NamedIconEngine(QString name, QIcon picture) : name_(std::move(name)), picture_(std::move(picture)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        picture_.paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return picture_.pixmap(size, mode, state);
    }
    QIconEngine* clone() const override { return new NamedIconEngine(name_, picture_); }
    QString iconName() override { return name_; }

private:
    QString name_;
    QIcon picture_;
};

// The symbol in white over a dark rim: the rim is the symbol drawn in near-black one pixel around.
QPixmap rimmedSymbol(std::string_view systemImage, int side) {
    const QIcon rim = symbolIcon(systemImage, QColor(0x16, 0x16, 0x1c));
    const QIcon face = symbolIcon(systemImage, QColor(0xf7, 0xf7, 0xfa));
    QPixmap picture(side, side);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    const QRect inner(1, 1, side - 2, side - 2);
    for (const QPoint offset : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)}) {
        rim.paint(&painter, inner.translated(offset));
    }
    face.paint(&painter, inner);
    return picture;
}

bool isInstalled(const QString& name, const QStringList& iconThemeFolders) {
    for (const QString& folder : iconThemeFolders) {
        if (QFileInfo::exists(folder + QStringLiteral("/hicolor/scalable/status/") + name + QStringLiteral(".svg"))) {
            return true;
        }
    }
    return false;
}

}  // namespace

QString trayIconName(OperationalStatus status) {
    switch (status) {
        case OperationalStatus::active: return QStringLiteral("tarvelo-active-symbolic");
        case OperationalStatus::paused: return QStringLiteral("tarvelo-paused-symbolic");
        case OperationalStatus::disabled: return QStringLiteral("tarvelo-off-symbolic");
        case OperationalStatus::permissionsRequired:
        case OperationalStatus::monitorUnavailable: return QStringLiteral("tarvelo-attention-symbolic");
    }
    return {};
}

QIcon trayIcon(OperationalStatus status, const QStringList& iconThemeFolders) {
    QIcon picture;
    for (const int side : {16, 22, 24, 32, 48, 64}) picture.addPixmap(rimmedSymbol(systemImage(status), side));
    const QString name = trayIconName(status);
    if (!isInstalled(name, iconThemeFolders)) return picture;
    return QIcon(new NamedIconEngine(name, picture));
}

}  // namespace tarvelo::ui
