// SPDX-License-Identifier: GPL-3.0-or-later
// The word analyzer on arbitrary tokens and exception lists: its predicates answer for every input, and
// an exception word is never analysed.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "analysis/word_analyzer.h"
#include "fuzz_check.h"
#include "text/case_mapping.h"

using namespace tarvelo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const WordAnalyzer analyzer;
    FuzzedDataProvider provider(data, size);
    ExceptionWords exceptions;
    const int exceptionCount = provider.ConsumeIntegralInRange<int>(0, 3);
    for (int i = 0; i < exceptionCount; ++i) exceptions.insert(text::comparisonKey(provider.ConsumeRandomLengthString(40)));
    const std::string token = provider.ConsumeRemainingBytesAsString();

    (void)analyzer.shouldAnalyze(token, exceptions);
    (void)analyzer.looksLikeCode(token);
    (void)analyzer.looksLikeAbbreviation(token);
    ExceptionWords withToken = exceptions;
    withToken.insert(text::comparisonKey(token));
    FUZZ_CHECK(!analyzer.shouldAnalyze(token, withToken));
    return 0;
}
