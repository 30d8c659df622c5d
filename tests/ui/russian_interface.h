// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <clocale>
#include <memory>
#include <string>

#include <QByteArray>
#include <QLocale>
#include <QString>

#include "app/ui/interface_language.h"
#include "support/translation.h"

namespace tarvelo::ui::testing {

// While it lives, the interface speaks Russian from the catalogs of this build, as it does for a user
// whose desktop is set to Russian.
class RussianInterface {
public:
    RussianInterface()
        : previousLanguage_(qgetenv("LANGUAGE")), previousLocale_(std::setlocale(LC_ALL, nullptr)) {
        qputenv("LANGUAGE", QByteArray("ru"));
        // gettext honours LANGUAGE only under a locale other than "C".
        std::setlocale(LC_ALL, "C.UTF-8");
        language_ = std::make_unique<InterfaceLanguage>(QStringLiteral(TARVELO_CATALOG_DIR),
                                                        QLocale(QLocale::Russian, QLocale::Russia));
    }
    ~RussianInterface() {
        language_.reset();
        if (previousLanguage_.isNull()) {
            qunsetenv("LANGUAGE");
        } else {
            qputenv("LANGUAGE", previousLanguage_);
        }
        std::setlocale(LC_ALL, previousLocale_.c_str());
        i18n::languageChanged();
    }
    RussianInterface(const RussianInterface&) = delete;
    RussianInterface& operator=(const RussianInterface&) = delete;

private:
    QByteArray previousLanguage_;
    std::string previousLocale_;
    std::unique_ptr<InterfaceLanguage> language_;
};

}  // namespace tarvelo::ui::testing
