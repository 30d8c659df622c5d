// SPDX-License-Identifier: GPL-3.0-or-later
// The word buffer on arbitrary sequences of key texts, Backspaces and clears: it never holds more than
// its limit, and it closes words only at boundaries.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "pipeline/word_buffer.h"
#include "text/characters.h"
#include "text/utf8.h"

using tarvelo::WordBuffer;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    WordBuffer buffer;
    while (provider.remaining_bytes() > 0) {
        switch (provider.ConsumeIntegralInRange<int>(0, 7)) {
            case 0:
                buffer.removeLastCharacter();
                break;
            case 1:
                buffer.clear();
                FUZZ_CHECK(buffer.text().empty() && !buffer.overflowed());
                break;
            default: {
                const std::string key = provider.ConsumeRandomLengthString(12);
                const auto closed = buffer.append(key);
                if (closed) {
                    FUZZ_CHECK(WordBuffer::isBoundary(key));
                    FUZZ_CHECK(!closed->word.empty());
                    FUZZ_CHECK(tarvelo::text::characterCount(closed->word) <= WordBuffer::kLengthLimit);
                    FUZZ_CHECK(tarvelo::text::isWellFormed(closed->word));
                    FUZZ_CHECK(closed->delimiter == tarvelo::text::wellFormed(key));
                    FUZZ_CHECK(buffer.text().empty());
                }
                break;
            }
        }
        FUZZ_CHECK(buffer.characterCount() <= WordBuffer::kLengthLimit);
        FUZZ_CHECK(tarvelo::text::isWellFormed(buffer.text()));
        FUZZ_CHECK(!buffer.overflowed() || buffer.text().empty());
    }
    return 0;
}
