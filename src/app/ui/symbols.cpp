// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/symbols.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include <QGuiApplication>
#include <QIconEngine>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPalette>
#include <QPixmap>

#include "app/ui/symbol_drawing.h"

namespace tarvelo::ui {
namespace {

// The sizes a desktop is told the icon comes in (a status-icon host picks from these); any other size
// is drawn on request.
const QList<QSize>& offeredSizes() {
    static const QList<QSize> sizes = {QSize(16, 16), QSize(22, 22), QSize(24, 24),
                                       QSize(32, 32), QSize(48, 48), QSize(64, 64)};
    return sizes;
}

// The colour a symbol is drawn in for `mode`: the tint, or the palette's text colour when none was
// given (read when drawing, so the icon follows a change of the desktop's palette). Selected rows get
// the highlighted text colour, as their text does.
QColor inkFor(const QColor& tint, QIcon::Mode mode) {
    const QPalette palette = QGuiApplication::palette();
    if (mode == QIcon::Selected) return palette.color(QPalette::HighlightedText);
    QColor ink = tint.isValid() ? tint : palette.color(QPalette::WindowText);
    if (mode == QIcon::Disabled) ink.setAlphaF(ink.alphaF() * 0.4f);
    return ink;
}

QImage transparentImage(const QSize& pixels, qreal scale) {
    QImage image(pixels.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setDevicePixelRatio(scale);
    return image;
}

// Shared by both engines: the pixmap and paint entry points reduce to one image of `pixels`.
class SymbolEngine : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        qreal scale = 1.0;
        if (const QPaintDevice* device = painter->device()) scale = device->devicePixelRatioF();
        const QSize pixels(static_cast<int>(std::lround(rect.width() * scale)),
                           static_cast<int>(std::lround(rect.height() * scale)));
        painter->drawImage(rect, render(pixels, scale, mode));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        return QPixmap::fromImage(render(size, 1.0, mode));
    }

    // `size` is in device pixels here; QIcon sets the pixmap's ratio itself.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal scale) override {
        QImage image = render(size, scale, mode);
        image.setDevicePixelRatio(1.0);
        return QPixmap::fromImage(image);
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = std::min(size.width(), size.height());
        return {side, side};
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return offeredSizes(); }
    bool isNull() override { return false; }

protected:
    virtual QImage render(const QSize& pixels, qreal scale, QIcon::Mode mode) const = 0;
};

// One of our drawings, centred in a square of the smaller side.
class DrawnSymbolEngine final : public SymbolEngine {
public:
    DrawnSymbolEngine(void (*draw)(QPainter&), QColor tint) : draw_(draw), tint_(std::move(tint)) {}

    QIconEngine* clone() const override { return new DrawnSymbolEngine(draw_, tint_); }
    QString key() const override { return QStringLiteral("tarvelo-symbol"); }

protected:
    QImage render(const QSize& pixels, qreal scale, QIcon::Mode mode) const override {
        QImage image = transparentImage(pixels, 1.0);
        const double side = std::min(image.width(), image.height());
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate((image.width() - side) / 2.0, (image.height() - side) / 2.0);
        painter.scale(side / SymbolDrawing::kGrid, side / SymbolDrawing::kGrid);
        QPen pen(inkFor(tint_, mode), SymbolDrawing::kLine, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        draw_(painter);
        painter.end();
        image.setDevicePixelRatio(scale);
        return image;
    }

private:
    void (*draw_)(QPainter&);
    QColor tint_;
};

// The desktop theme's icon. Symbolic icons are single-colour by design, so they take the tint as the
// design asks for it (GTK recolours them the same way); full-colour ones are shown as they are.
class ThemeSymbolEngine final : public SymbolEngine {
public:
    ThemeSymbolEngine(QIcon themed, QColor tint, bool recolour)
        : themed_(std::move(themed)), tint_(std::move(tint)), recolour_(recolour) {}

    QIconEngine* clone() const override { return new ThemeSymbolEngine(themed_, tint_, recolour_); }
    QString key() const override { return QStringLiteral("tarvelo-theme-symbol"); }
    QString iconName() override { return themed_.name(); }

protected:
    QImage render(const QSize& pixels, qreal scale, QIcon::Mode mode) const override {
        QImage image = transparentImage(pixels, 1.0);
        QPainter painter(&image);
        const QPixmap source = themed_.pixmap(pixels, recolour_ ? QIcon::Normal : mode);
        const QSize drawn = source.size().scaled(image.size(), Qt::KeepAspectRatio);
        const QRect target(QPoint((image.width() - drawn.width()) / 2, (image.height() - drawn.height()) / 2), drawn);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(target, source);
        if (recolour_) {
            painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
            painter.fillRect(image.rect(), inkFor(tint_, mode));
        }
        painter.end();
        image.setDevicePixelRatio(scale);
        return image;
    }

private:
    QIcon themed_;
    QColor tint_;
    bool recolour_;
};

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QIcon symbolIcon(std::string_view systemImage, const QColor& tint) {
    const SymbolDrawing* drawing = findSymbolDrawing(systemImage);
    if (drawing == nullptr) return QIcon(new DrawnSymbolEngine(drawUnknownSymbol, tint));
    if (!drawing->themeName.empty()) {
        const QString name = fromView(drawing->themeName);
        if (QIcon::hasThemeIcon(name)) {
            QIcon themed = QIcon::fromTheme(name);
            // A theme may list an icon in a format no image plug-in here reads (SVG without Qt SVG).
            if (!themed.pixmap(QSize(16, 16)).isNull()) {
                return QIcon(new ThemeSymbolEngine(std::move(themed), tint, name.endsWith(QLatin1String("-symbolic"))));
            }
        }
    }
    return QIcon(new DrawnSymbolEngine(drawing->draw, tint));
}

std::string_view themeIconName(std::string_view systemImage) {
    const SymbolDrawing* drawing = findSymbolDrawing(systemImage);
    return drawing == nullptr ? std::string_view() : drawing->themeName;
}

}  // namespace tarvelo::ui
