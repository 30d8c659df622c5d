// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QUrl>
#include <QWidget>

namespace tarvelo::ui {

// The About window: the logo, name and tagline, two facts, the link to the developer's website and the
// notice line. It keeps its size, and stays dark whatever the desktop's colours.
class AboutWindow : public QWidget {
public:
    static constexpr int kWidth = 500;
    static constexpr int kHeight = 510;

    // Where the website link leads, and what the link says about it.
    static QUrl website();
    static QString websiteAccessibleName();

    // Opens `url` in the desktop's default browser.
    static void openInBrowser(const QUrl& url);

    explicit AboutWindow(std::function<void(const QUrl&)> openUrl = &AboutWindow::openInBrowser,
                         QWidget* parent = nullptr);

private:
    std::function<void(const QUrl&)> openUrl_;
};

}  // namespace tarvelo::ui
