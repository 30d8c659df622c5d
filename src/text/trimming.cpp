// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/trimming.h"

#include "text/properties.h"
#include "text/utf8.h"

namespace tarvelo::text {

std::string_view trimmed(std::string_view text) {
    std::size_t begin = 0;
    while (begin < text.size()) {
        const DecodedScalar decoded = decodeScalar(text, begin);
        if (!isWhiteSpace(decoded.scalar)) break;
        begin += decoded.length;
    }
    // Scanning forward keeps the end on a scalar boundary whatever the bytes are.
    std::size_t end = begin;
    for (std::size_t offset = begin; offset < text.size();) {
        const DecodedScalar decoded = decodeScalar(text, offset);
        offset += decoded.length;
        if (!isWhiteSpace(decoded.scalar)) end = offset;
    }
    return text.substr(begin, end - begin);
}

}  // namespace tarvelo::text
