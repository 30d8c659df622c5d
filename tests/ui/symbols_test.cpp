// SPDX-License-Identifier: GPL-3.0-or-later
// The symbols: every name the application uses has a picture of its own, sharp at each size and in the
// colour asked for; a theme's symbolic icon takes that colour too; other names get a plain stand-in.

#include <set>
#include <string>
#include <vector>

#include <QDir>
#include <QGridLayout>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include "app/operational_status.h"
#include "app/settings_section.h"
#include "app/ui/symbols.h"
#include "no_icon_theme.h"
#include "screenshot.h"
#include "store/application_profile.h"

namespace tarvelo::ui {
namespace {

// Every symbol the application names: from the models, and from the screens themselves.
std::vector<std::string> usedSymbolNames() {
    std::set<std::string> names;
    for (const OperationalStatus status :
         {OperationalStatus::active, OperationalStatus::paused, OperationalStatus::disabled,
          OperationalStatus::permissionsRequired, OperationalStatus::monitorUnavailable}) {
        names.emplace(systemImage(status));
    }
    for (const SettingsSection section : kAllSettingsSections) names.emplace(systemImage(section));
    for (const ApplicationProfile& profile : {macApplicationProfile(), linuxApplicationProfile()}) {
        for (const KnownApplication& application : profile.knownApplications) names.insert(application.systemImage);
    }
    for (const char* name : {"arrow.uturn.backward", "checkmark.circle.fill", "circle", "checkmark.seal.fill",
                             "exclamationmark.shield.fill", "character.cursor.ibeam", "arrow.right", "arrow.left",
                             "arrow.up.right", "globe", "exclamationmark.triangle", "books.vertical", "textformat.abc",
                             "apple.intelligence", "brain.head.profile", "text.badge.plus", "minus.circle",
                             "lock.shield", "network.slash", "text.line.first.and.arrowtriangle.forward"}) {
        names.insert(name);
    }
    return {names.begin(), names.end()};
}

QImage picture(const QIcon& icon, int size, qreal ratio = 1.0, QIcon::Mode mode = QIcon::Normal) {
    return icon.pixmap(QSize(size, size), ratio, mode).toImage().convertToFormat(QImage::Format_ARGB32);
}

int inkedPixels(const QImage& image) {
    int inked = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) inked += qAlpha(image.pixel(x, y)) > 96 ? 1 : 0;
    }
    return inked;
}

// The colour of the most opaque pixel: what the symbol is drawn in.
QColor inkOf(const QImage& image) {
    QRgb strongest = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > qAlpha(strongest)) strongest = image.pixel(x, y);
        }
    }
    return QColor::fromRgba(strongest);
}

bool sameColour(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) <= 6 && std::abs(a.green() - b.green()) <= 6 && std::abs(a.blue() - b.blue()) <= 6;
}

class Symbols : public ::testing::Test {
protected:
    testing::NoIconTheme noTheme_;
};

TEST_F(Symbols, EveryUsedNameHasAVisiblePictureOfItsOwnAtEachSize) {
    const QColor tint(0x20, 0x60, 0xc0);
    const std::vector<std::string> names = usedSymbolNames();
    std::vector<QImage> pictures;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const QIcon icon = symbolIcon(name, tint);
        ASSERT_FALSE(icon.isNull());
        for (const int size : {16, 22, 32, 64}) {
            SCOPED_TRACE(size);
            const QImage image = picture(icon, size);
            ASSERT_EQ(image.size(), QSize(size, size));
            const int inked = inkedPixels(image);
            // Visible, yet a drawing rather than a filled square.
            EXPECT_GT(inked, size * size / 25);
            EXPECT_LT(inked, size * size * 3 / 4);
            EXPECT_NE(image, picture(symbolIcon("no.such.symbol", tint), size)) << "shows the stand-in";
        }
        EXPECT_TRUE(sameColour(inkOf(picture(icon, 32)), tint));
        pictures.push_back(picture(icon, 32));
    }
    for (std::size_t a = 0; a < names.size(); ++a) {
        for (std::size_t b = a + 1; b < names.size(); ++b) {
            EXPECT_NE(pictures[a], pictures[b]) << names[a] << " and " << names[b] << " look the same";
        }
    }
}

TEST_F(Symbols, DrawnSharplyForHighDensityScreens) {
    const QIcon icon = symbolIcon("gearshape", Qt::black);
    const QPixmap doubled = icon.pixmap(QSize(16, 16), 2.0);
    EXPECT_EQ(doubled.size(), QSize(32, 32));
    EXPECT_DOUBLE_EQ(doubled.devicePixelRatio(), 2.0);
    // Drawn at 32 pixels, not 16 pixels scaled up.
    EXPECT_EQ(doubled.toImage().convertToFormat(QImage::Format_ARGB32), picture(icon, 32));
}

TEST_F(Symbols, ColourFollowsTintModeAndPalette) {
    const QIcon tinted = symbolIcon("checkmark.circle.fill", QColor(0x2e, 0xa0, 0x43));
    EXPECT_TRUE(sameColour(inkOf(picture(tinted, 32)), QColor(0x2e, 0xa0, 0x43)));
    // Disabled: the same colour, fainter.
    const QImage disabled = picture(tinted, 32, 1.0, QIcon::Disabled);
    EXPECT_LT(qAlpha(inkOf(disabled).rgba()), 128);
    // A selected row's symbol takes the highlighted text colour, as the row's text does.
    EXPECT_TRUE(sameColour(inkOf(picture(tinted, 32, 1.0, QIcon::Selected)),
                           QGuiApplication::palette().color(QPalette::HighlightedText)));
    // Without a tint, the text colour of the palette.
    EXPECT_TRUE(sameColour(inkOf(picture(symbolIcon("gearshape"), 32)),
                           QGuiApplication::palette().color(QPalette::WindowText)));
}

TEST_F(Symbols, UnknownNameShowsAStandIn) {
    const QIcon unknown = symbolIcon("no.such.symbol", Qt::black);
    ASSERT_FALSE(unknown.isNull());
    for (const int size : {16, 32}) EXPECT_GT(inkedPixels(picture(unknown, size)), size * size / 25);
    EXPECT_EQ(picture(unknown, 32), picture(symbolIcon("", Qt::black), 32));
    EXPECT_EQ(themeIconName("no.such.symbol"), "");
}

TEST(SymbolsFromTheme, ThemeIconIsUsedAndSymbolicOnesTakeTheTint) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QDir root(folder.path());
    ASSERT_TRUE(root.mkpath(QStringLiteral("plain/16x16/actions")));
    {
        QFile index(root.filePath(QStringLiteral("plain/index.theme")));
        ASSERT_TRUE(index.open(QIODevice::WriteOnly));
        index.write("[Icon Theme]\nName=Plain\nDirectories=16x16/actions\n\n[16x16/actions]\nSize=16\nType=Fixed\n");
    }
    // A black square: a symbolic icon as a theme ships it.
    QImage square(16, 16, QImage::Format_ARGB32);
    square.fill(Qt::transparent);
    QPainter(&square).fillRect(QRect(4, 4, 8, 8), Qt::black);
    ASSERT_EQ(themeIconName("arrow.uturn.backward"), "edit-undo-symbolic");
    ASSERT_TRUE(square.save(root.filePath(QStringLiteral("plain/16x16/actions/edit-undo-symbolic.png"))));

    const QStringList previousPaths = QIcon::themeSearchPaths();
    const QString previousTheme = QIcon::themeName();
    QIcon::setThemeSearchPaths({folder.path()});
    QIcon::setThemeName(QStringLiteral("plain"));
    const QImage undo = picture(symbolIcon("arrow.uturn.backward", Qt::red), 16);
    // A name whose icon the theme lacks is drawn.
    const QImage gear = picture(symbolIcon("gearshape", Qt::red), 16);
    QIcon::setThemeSearchPaths(previousPaths);
    QIcon::setThemeName(previousTheme);

    EXPECT_EQ(QColor::fromRgba(undo.pixel(8, 8)), QColor(Qt::red));
    EXPECT_EQ(qAlpha(undo.pixel(1, 1)), 0);
    testing::NoIconTheme noTheme;
    EXPECT_EQ(gear, picture(symbolIcon("gearshape", Qt::red), 16));
}

// A sheet of every symbol at 16, 24 and 48 pixels, on the window colours and on a dark panel.
TEST_F(Symbols, SheetOfAllSymbols) {
    QWidget sheet;
    sheet.setAutoFillBackground(true);
    auto* grid = new QGridLayout(&sheet);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(6);
    const std::vector<std::string> names = usedSymbolNames();
    const int half = static_cast<int>((names.size() + 1) / 2);
    for (int index = 0; index < static_cast<int>(names.size()); ++index) {
        const int row = index % half;
        const int column = (index / half) * 6;
        const QIcon icon = symbolIcon(names[static_cast<std::size_t>(index)]);
        int offset = 0;
        for (const int size : {16, 24, 48}) {
            auto* image = new QLabel(&sheet);
            image->setPixmap(icon.pixmap(QSize(size, size)));
            grid->addWidget(image, row, column + offset++, Qt::AlignCenter);
        }
        auto* dark = new QLabel(&sheet);
        dark->setAutoFillBackground(true);
        QPalette colours = dark->palette();
        colours.setColor(QPalette::Window, QColor(0x1e, 0x1e, 0x24));
        dark->setPalette(colours);
        dark->setFixedSize(30, 30);
        dark->setAlignment(Qt::AlignCenter);
        dark->setPixmap(symbolIcon(names[static_cast<std::size_t>(index)], QColor(0xf2, 0xf2, 0xf5)).pixmap(QSize(22, 22)));
        grid->addWidget(dark, row, column + offset++, Qt::AlignCenter);
        grid->addWidget(new QLabel(QString::fromStdString(names[static_cast<std::size_t>(index)]), &sheet), row,
                        column + offset);
    }
    sheet.show();
    EXPECT_FALSE(testing::saveScreenshot(sheet, QStringLiteral("symbols")).isEmpty());
}

}  // namespace
}  // namespace tarvelo::ui
