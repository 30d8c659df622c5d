// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/tray_icon.h"

#include <cmath>
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

const QColor kDarkInk(0x16, 0x16, 0x1c);
const QColor kLightInk(0xf7, 0xf7, 0xfa);

// The symbol in `face`; with a `rim`, over the symbol drawn in that colour one pixel around. The
// picture keeps a pixel free at its edges, where the panel shows through.
QPixmap symbolPicture(std::string_view systemImage, int side, const QColor& face, const std::optional<QColor>& rim) {
    QPixmap picture(side, side);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    const QRect inner(1, 1, side - 2, side - 2);
    if (rim) {
        const QIcon rimIcon = symbolIcon(systemImage, *rim);
        for (const QPoint offset : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)}) {
            rimIcon.paint(&painter, inner.translated(offset));
        }
    }
    symbolIcon(systemImage, face).paint(&painter, inner);
    return picture;
}

double relativeLuminance(const QColor& color) {
    const auto channel = [](double value) {
        return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(color.redF()) + 0.7152 * channel(color.greenF()) + 0.0722 * channel(color.blueF());
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

bool isLightPanel(const QColor& panel) {
    // Above this luminance black stands further from the panel than white does (WCAG contrast).
    return relativeLuminance(panel) > 0.179;
}

QIcon trayIcon(OperationalStatus status, const QStringList& iconThemeFolders, const std::optional<QColor>& panel) {
    const QColor face = panel && isLightPanel(*panel) ? kDarkInk : kLightInk;
    const std::optional<QColor> rim = panel ? std::nullopt : std::optional<QColor>(kDarkInk);
    QIcon picture;
    for (const int side : {16, 22, 24, 32, 48, 64}) picture.addPixmap(symbolPicture(systemImage(status), side, face, rim));
    const QString name = trayIconName(status);
    if (!isInstalled(name, iconThemeFolders)) return picture;
    return QIcon(new NamedIconEngine(name, picture));
}

}  // namespace tarvelo::ui
