// SPDX-License-Identifier: GPL-3.0-or-later
// About: a fixed, always dark window whose only interactive element is the link to the website.

#include <vector>

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPalette>
#include <QTest>

#include <gtest/gtest.h>

#include "app/ui/about_window.h"
#include "app/ui/palette.h"
#include "build_info.h"
#include "no_icon_theme.h"
#include "screenshot.h"

namespace tarvelo::ui {
namespace {

class AboutWindowTest : public ::testing::Test {
protected:
    AboutWindowTest() { window.show(); }

    QWidget* link() const { return window.findChild<QWidget*>(QStringLiteral("websiteLink")); }

    testing::NoIconTheme noTheme_;
    std::vector<QUrl> opened;
    AboutWindow window{[this](const QUrl& url) { opened.push_back(url); }};
};

TEST_F(AboutWindowTest, KeepsItsSize) {
    EXPECT_EQ(window.windowTitle(), QStringLiteral("About Tarvelo"));
    EXPECT_EQ(window.size(), QSize(500, 510));
    window.resize(800, 900);
    QApplication::processEvents();
    EXPECT_EQ(window.size(), QSize(500, 510));
    window.resize(300, 200);
    EXPECT_EQ(window.size(), QSize(500, 510));
    EXPECT_FALSE(testing::saveScreenshot(window, QStringLiteral("about")).isEmpty());
}

TEST_F(AboutWindowTest, ShowsTheVersionAndTheLicence) {
    QStringList texts;
    for (const QLabel* label : window.findChildren<QLabel*>()) texts << label->text();
    const QString version = QString::fromUtf8(build::version.data(), static_cast<qsizetype>(build::version.size()));
    EXPECT_TRUE(texts.contains(version)) << texts.join(" | ").toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("GNU GPL 3.0 or later"))) << texts.join(" | ").toStdString();
}

TEST_F(AboutWindowTest, StaysDarkOnALightDesktop) {
    const QPalette previous = QApplication::palette();
    QPalette light = previous;
    light.setColor(QPalette::Window, QColor(0xf6, 0xf6, 0xf6));
    light.setColor(QPalette::WindowText, Qt::black);
    QApplication::setPalette(light);
    AboutWindow another;
    another.show();
    QApplication::processEvents();
    const QImage picture = another.grab().toImage();
    const QPalette seen = another.palette();
    const QPalette seenByTheFirst = window.palette();
    QApplication::setPalette(previous);

    for (const QPalette& colours : {seen, seenByTheFirst}) {
        EXPECT_EQ(colours.color(QPalette::Window), palette::aboutBackground());
        EXPECT_EQ(colours.color(QPalette::WindowText), QColor(Qt::white));
    }
    EXPECT_LT(QColor(picture.pixel(4, 4)).lightnessF(), 0.1);
    EXPECT_LT(QColor(picture.pixel(picture.width() - 4, picture.height() - 4)).lightnessF(), 0.1);
}

TEST_F(AboutWindowTest, LinkIsTheOnlyInteractiveElementAndOpensTheWebsite) {
    ASSERT_NE(link(), nullptr);
    std::vector<QWidget*> focusable;
    for (QWidget* child : window.findChildren<QWidget*>()) {
        if ((child->focusPolicy() & Qt::TabFocus) != 0) focusable.push_back(child);
    }
    EXPECT_EQ(focusable, std::vector<QWidget*>{link()});

    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(link());
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->text(QAccessible::Name), QString::fromUtf8("Visit Brinmoor\u2019s website, brinmoor.dev"));
    EXPECT_EQ(accessible->childCount(), 0);

    QTest::mouseClick(link(), Qt::LeftButton);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened.front(), QUrl(QStringLiteral("https://brinmoor.dev/tarvelo")));

    link()->setFocus();
    QTest::keyClick(link(), Qt::Key_Space);
    EXPECT_EQ(opened.size(), 2u);
    EXPECT_FALSE(testing::saveScreenshot(window, QStringLiteral("about_link_focused")).isEmpty());
}

}  // namespace
}  // namespace tarvelo::ui
