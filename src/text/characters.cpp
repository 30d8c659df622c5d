// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/characters.h"

#include <memory>

#include <unicode/brkiter.h>
#include <unicode/utext.h>

#include "text/utf8.h"

namespace tarvelo::text {
namespace {

// A scalar that forms a character on its own, whatever stands beside it (Grapheme_Cluster_Break
// Other or Control). Almost everything typed in English and Russian is such a scalar, so texts made
// only of them skip the ICU break iterator. CR is not simple: it joins a following LF.
bool standsAlone(char32_t scalar) {
    if (scalar < 0x0300) return scalar != U'\r';
    if (scalar >= 0x0400 && scalar <= 0x0482) return true;  // Cyrillic letters and signs
    if (scalar >= 0x048A && scalar <= 0x052F) return true;  // Cyrillic letters after the combining marks
    if (scalar >= 0x2010 && scalar <= 0x2027) return true;  // dashes, quotation marks, bullets
    return false;
}

// Calls `visit(begin, end)` for each character, in order.
template <typename Visitor>
void forEachCharacter(std::string_view text, Visitor&& visit) {
    bool simple = true;
    for (std::size_t offset = 0; offset < text.size() && simple;) {
        const DecodedScalar decoded = decodeScalar(text, offset);
        if (decoded.scalar == U'\r') {
            const bool lineFeedFollows = offset + 1 < text.size() && text[offset + 1] == '\n';
            offset += lineFeedFollows ? 2 : 1;
            continue;
        }
        simple = standsAlone(decoded.scalar);
        offset += decoded.length;
    }
    if (simple) {
        for (std::size_t offset = 0; offset < text.size();) {
            std::size_t length = decodeScalar(text, offset).length;
            if (text[offset] == '\r' && offset + 1 < text.size() && text[offset + 1] == '\n') length = 2;
            visit(offset, offset + length);
            offset += length;
        }
        return;
    }

    // The core runs on one thread; each thread that segments text keeps its own iterator.
    thread_local std::unique_ptr<icu::BreakIterator> iterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::BreakIterator> made(
            icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        return U_SUCCESS(status) ? std::move(made) : nullptr;
    }();
    UErrorCode status = U_ZERO_ERROR;
    UText* utext = utext_openUTF8(nullptr, text.data(), static_cast<int64_t>(text.size()), &status);
    if (iterator == nullptr || U_FAILURE(status)) {
        utext_close(utext);
        // Without ICU's data each scalar counts as one character rather than failing.
        for (std::size_t offset = 0; offset < text.size();) {
            const std::size_t length = decodeScalar(text, offset).length;
            visit(offset, offset + length);
            offset += length;
        }
        return;
    }
    iterator->setText(utext, status);
    std::size_t begin = 0;
    for (int32_t end = iterator->next(); end != icu::BreakIterator::DONE; end = iterator->next()) {
        visit(begin, static_cast<std::size_t>(end));
        begin = static_cast<std::size_t>(end);
    }
    // Leave no reference to this text behind in the shared iterator.
    UText* empty = utext_openUTF8(nullptr, "", 0, &status);
    iterator->setText(empty, status);
    utext_close(empty);
    utext_close(utext);
}

}  // namespace

std::vector<std::string_view> characters(std::string_view text) {
    std::vector<std::string_view> out;
    out.reserve(text.size());
    forEachCharacter(text, [&](std::size_t begin, std::size_t end) {
        out.push_back(text.substr(begin, end - begin));
    });
    return out;
}

std::size_t characterCount(std::string_view text) {
    std::size_t count = 0;
    forEachCharacter(text, [&](std::size_t, std::size_t) { ++count; });
    return count;
}

std::string_view lastCharacter(std::string_view text) {
    std::size_t lastBegin = 0;
    forEachCharacter(text, [&](std::size_t begin, std::size_t) { lastBegin = begin; });
    return text.substr(lastBegin);
}

std::string_view droppingLastCharacter(std::string_view text) {
    return text.substr(0, text.size() - lastCharacter(text).size());
}

}  // namespace tarvelo::text
