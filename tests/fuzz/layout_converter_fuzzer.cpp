// SPDX-License-Identifier: GPL-3.0-or-later
// The layout converter on arbitrary tokens: a conversion keeps the number of characters and is
// well-formed, and the automatic one picks the direction of the script with more letters.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "analysis/layout_converter.h"
#include "fuzz_check.h"
#include "text/characters.h"
#include "text/utf8.h"

using namespace tarvelo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const LayoutConverter converter;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    for (const ConversionDirection direction :
         {ConversionDirection::englishToRussian, ConversionDirection::russianToEnglish}) {
        const std::string converted = converter.convert(input, direction);
        FUZZ_CHECK(text::isWellFormed(converted));
        FUZZ_CHECK(text::characterCount(converted) == text::characterCount(text::wellFormed(input)));
    }
    if (const auto automatic = converter.convertAutomatically(input)) {
        FUZZ_CHECK(automatic->text == converter.convert(input, automatic->direction));
    }
    return 0;
}
