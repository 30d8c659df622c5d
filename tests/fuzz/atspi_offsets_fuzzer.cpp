// SPDX-License-Identifier: GPL-3.0-or-later
// The AT-SPI offset converters on arbitrary texts and offsets: code points and UTF-16 code units map
// to each other without loss wherever both exist.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "platform/linux/atspi/atspi_offsets.h"
#include "text/utf8.h"

using namespace tarvelo::desktop::atspi_offsets;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const std::size_t codePoints = provider.ConsumeIntegralInRange<std::size_t>(0, 2 * size + 2);
    const std::size_t units = provider.ConsumeIntegralInRange<std::size_t>(0, 2 * size + 2);
    const std::size_t huge = provider.ConsumeIntegral<std::size_t>();
    const std::string text = provider.ConsumeRemainingBytesAsString();

    const std::size_t count = codePointCount(text);
    FUZZ_CHECK(count == tarvelo::text::scalars(text).size());
    FUZZ_CHECK(unitsOfFirst(text, count) == tarvelo::text::utf16Length(text));
    FUZZ_CHECK(codePointsOfFirst(text, tarvelo::text::utf16Length(text)) == count);

    const auto unitsOfPrefix = unitsOfFirst(text, codePoints);
    FUZZ_CHECK(unitsOfPrefix.has_value() == (codePoints <= count));
    if (unitsOfPrefix) FUZZ_CHECK(codePointsOfFirst(text, *unitsOfPrefix) == codePoints);

    if (const auto codePointsOfPrefix = codePointsOfFirst(text, units)) {
        FUZZ_CHECK(*codePointsOfPrefix <= count);
        FUZZ_CHECK(unitsOfFirst(text, *codePointsOfPrefix) == units);
    }

    FUZZ_CHECK(!unitsOfFirst(text, count + 1 + huge % 4).has_value());
    FUZZ_CHECK(fitsInt(huge) == (huge <= 0x7FFFFFFF));
    return 0;
}
