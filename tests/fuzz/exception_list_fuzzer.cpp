// SPDX-License-Identifier: GPL-3.0-or-later
// The stored exception list with arbitrary words: the manager reads it, the word filter keys it, and a
// word added or removed in any case is found or gone.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "platform/fake/memory_defaults_store.h"
#include "store/exception_manager.h"
#include "text/case_mapping.h"
#include "text/trimming.h"

using namespace tarvelo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    std::vector<std::string> stored;
    const int count = provider.ConsumeIntegralInRange<int>(0, 12);
    for (int i = 0; i < count; ++i) stored.push_back(provider.ConsumeRandomLengthString(24));
    const std::string added = provider.ConsumeRandomLengthString(24);
    const std::string removed = provider.ConsumeRemainingBytesAsString();

    MemoryDefaultsStore defaults;
    defaults.setObject("learning.exceptions", DefaultsValue(stored));
    ExceptionManager exceptions(defaults);
    FUZZ_CHECK(exceptions.words().get() == stored);
    (void)exceptions.normalizedWords();

    exceptions.add(added);
    if (!text::trimmed(added).empty()) {
        FUZZ_CHECK(exceptions.normalizedWords().count(text::comparisonKey(text::trimmed(added))) == 1);
    }
    exceptions.remove(removed);
    FUZZ_CHECK(exceptions.normalizedWords().count(text::comparisonKey(removed)) == 0);
    FUZZ_CHECK(defaults.stringArrayForKey("learning.exceptions") == exceptions.words().get());
    return 0;
}
