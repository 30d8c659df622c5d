// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>
#include <QTranslator>

namespace tarvelo::ui {

// The interface in the desktop's language: Tarvelo's own catalog for its texts and Qt's for the buttons
// and dialogs it draws itself. The language comes from the session's locale settings (LANGUAGE,
// LC_ALL, LC_MESSAGES, LANG); without a catalog for it the interface stays in English.
class InterfaceLanguage {
public:
    // Reads Tarvelo's catalogs from `catalogDirectory` and loads Qt's translations for `locale`, the
    // session's own by default. Construct it after the QApplication, which sets the process locale.
    explicit InterfaceLanguage(const QString& catalogDirectory, const QLocale& locale = QLocale::system());
    ~InterfaceLanguage();
    InterfaceLanguage(const InterfaceLanguage&) = delete;
    InterfaceLanguage& operator=(const InterfaceLanguage&) = delete;

    // Where the program's catalogs are: share/locale beside an installed program's folder, else the
    // build folder's locale.
    static QString catalogDirectoryBeside(const QString& programDirectory);

private:
    QTranslator qt_;
    bool qtInstalled_ = false;
};

}  // namespace tarvelo::ui
