// SPDX-License-Identifier: GPL-3.0-or-later
// The logo: a rounded square of 0.88 times the width it is given, centred, with the ring opening toward
// the accent stroke; it is drawn from the width alone.

#include <QIcon>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include "app/ui/tarvelo_icon.h"
#include "screenshot.h"

namespace tarvelo::ui {
namespace {

QImage render(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    TarveloIcon::paint(painter, QRectF(0, 0, width, height));
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

// The pixel at a position given as fractions of the logo's square (0.88 of `side`, centred).
QRgb at(const QImage& image, double x, double y) {
    const double side = 0.88 * image.width();
    const double left = (image.width() - side) / 2;
    const double top = (image.height() - side) / 2;
    return image.pixel(static_cast<int>(left + x * side), static_cast<int>(top + y * side));
}

int brightness(QRgb pixel) { return (qRed(pixel) + qGreen(pixel) + qBlue(pixel)) / 3; }

TEST(TarveloIcon, RoundedSquareWithRingArrowsAndAccent) {
    for (const int size : {64, 512}) {
        SCOPED_TRACE(size);
        const QImage logo = render(size, size);
        // Outside the square, and in the rounding of its corners: transparent.
        for (const QPoint corner : {QPoint(0, 0), QPoint(size - 1, 0), QPoint(0, size - 1), QPoint(size - 1, size - 1)}) {
            EXPECT_EQ(qAlpha(logo.pixel(corner)), 0);
        }
        EXPECT_EQ(qAlpha(at(logo, 0.01, 0.01)), 0);
        EXPECT_EQ(qAlpha(at(logo, 0.99, 0.99)), 0);
        EXPECT_EQ(qAlpha(at(logo, -0.02, 0.5)), 0);
        // The square itself is opaque and dark, from its middle to near its edges.
        for (const auto& [x, y] : {std::pair{0.5, 0.5}, {0.03, 0.5}, {0.5, 0.97}, {0.2, 0.2}}) {
            EXPECT_EQ(qAlpha(at(logo, x, y)), 255) << x << "," << y;
        }
        EXPECT_LT(brightness(at(logo, 0.5, 0.5)), 60);
        // The ring is bright on its left, open toward the lower right where the accent stroke leaves it.
        EXPECT_GT(brightness(at(logo, 0.5 - 0.325, 0.5)), 150);
        EXPECT_LT(brightness(at(logo, 0.744, 0.715)), 60);
        const QRgb accent = at(logo, 0.73, 0.745);
        EXPECT_GT(qBlue(accent), qGreen(accent) + 40);
        // The upper arrow's shaft.
        EXPECT_GT(brightness(at(logo, 0.5, 0.43)), 150);
    }
}

TEST(TarveloIcon, DrawnFromTheWidthAloneAndCentred) {
    const QImage square = render(200, 200);
    const QImage taller = render(200, 320);
    EXPECT_EQ(taller.copy(0, 60, 200, 200), square);
    for (int y : {0, 59, 260, 319}) EXPECT_EQ(qAlpha(taller.pixel(100, y)), 0) << y;

    TarveloIcon widget;
    EXPECT_TRUE(widget.hasHeightForWidth());
    EXPECT_EQ(widget.heightForWidth(144), 144);
}

TEST(TarveloIcon, IconComesInEveryUsualSize) {
    const QIcon icon = TarveloIcon::icon();
    const QList<QSize> sizes = icon.availableSizes();
    for (const int side : {16, 22, 24, 32, 48, 64, 128, 256, 512}) EXPECT_TRUE(sizes.contains(QSize(side, side))) << side;
    const QImage large = icon.pixmap(QSize(512, 512), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(large, render(512, 512));
}

TEST(TarveloIcon, ScreenshotAt512) {
    TarveloIcon widget;
    widget.resize(512, 512);
    widget.show();
    EXPECT_FALSE(testing::saveScreenshot(widget, QStringLiteral("logo_512")).isEmpty());
}

}  // namespace
}  // namespace tarvelo::ui
