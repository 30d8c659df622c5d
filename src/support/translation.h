// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

// The interface speaks the user's language through the "tarvelo" gettext catalog. The English texts are
// the message ids, so without a catalog for the user's language every text stays exactly as written.
// A text is always a whole sentence: the parts that vary (a time, a chord, a number) are named
// placeholders such as "{time}", so a translation can put them where its grammar wants them.
namespace tarvelo::i18n {

// The text in the user's language.
std::string tr(const char* english);
// The form of a counted text that `count` asks for in the user's language ("1 correction",
// "5 corrections"; Russian has three forms). "{count}" in the chosen form is not replaced here.
std::string trn(const char* singular, const char* plural, unsigned long count);

// `pattern` with every "{name}" replaced by its value; unknown names stay as they are.
std::string format(std::string_view pattern,
                   std::initializer_list<std::pair<std::string_view, std::string_view>> values);

// Looks for the catalogs in `directory`, laid out as <directory>/<language>/LC_MESSAGES/tarvelo.mo.
void useCatalogs(const std::string& directory);
// Forgets the texts looked up so far, after the language was changed within the process.
void languageChanged();

}  // namespace tarvelo::i18n
