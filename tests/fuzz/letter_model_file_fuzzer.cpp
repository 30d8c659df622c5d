// SPDX-License-Identifier: GPL-3.0-or-later
// The letter-model file reader on arbitrary text: whatever it accepts, it writes back in a form that it
// reads again to the same model.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "platform/linux/language/letter_model_file.h"

using namespace tarvelo::desktop;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = parseLetterModelFile(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!file) return 0;
    const std::string written = formatLetterModelFile(*file);
    const auto reread = parseLetterModelFile(written);
    FUZZ_CHECK(reread.has_value());
    FUZZ_CHECK(formatLetterModelFile(*reread) == written);
    return 0;
}
