// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/interface_language.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>

#include "support/translation.h"

namespace tarvelo::ui {
namespace {

bool holdsCatalogs(const QDir& directory) {
    for (const QString& language : directory.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (QFileInfo::exists(directory.filePath(language + QStringLiteral("/LC_MESSAGES/tarvelo.mo")))) return true;
    }
    return false;
}

}  // namespace

InterfaceLanguage::InterfaceLanguage(const QString& catalogDirectory, const QLocale& locale) {
    i18n::useCatalogs(QDir(catalogDirectory).absolutePath().toStdString());
    i18n::languageChanged();
    // QLocale follows the same variables as gettext, LANGUAGE first, so both speak one language.
    if (qt_.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        qtInstalled_ = QCoreApplication::installTranslator(&qt_);
    }
}

InterfaceLanguage::~InterfaceLanguage() {
    if (qtInstalled_) QCoreApplication::removeTranslator(&qt_);
}

QString InterfaceLanguage::catalogDirectoryBeside(const QString& programDirectory) {
    const QDir program(programDirectory);
    const QString installed = program.absoluteFilePath(QStringLiteral("../share/locale"));
    if (holdsCatalogs(QDir(installed))) return QDir::cleanPath(installed);
    return QDir::cleanPath(program.absoluteFilePath(QStringLiteral("../locale")));
}

}  // namespace tarvelo::ui
