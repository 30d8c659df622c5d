// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/normalization.h"

#include <unicode/bytestream.h>
#include <unicode/normalizer2.h>

#include "text/utf8.h"

namespace tarvelo::text {

std::string canonicalForm(std::string_view text) {
    if (isAscii(text)) return std::string(text);
    const std::string input = wellFormed(text);
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status)) return input;
    const icu::StringPiece piece(input.data(), static_cast<int32_t>(input.size()));
    if (nfc->isNormalizedUTF8(piece, status) && U_SUCCESS(status)) return input;
    status = U_ZERO_ERROR;
    std::string out;
    icu::StringByteSink<std::string> sink(&out);
    nfc->normalizeUTF8(0, piece, sink, nullptr, status);
    return U_SUCCESS(status) ? out : input;
}

bool canonicallyEqual(std::string_view a, std::string_view b) {
    if (a == b) return true;
    if (isAscii(a) && isAscii(b)) return false;
    return canonicalForm(a) == canonicalForm(b);
}

}  // namespace tarvelo::text
