// SPDX-License-Identifier: GPL-3.0-or-later
// The autostart entry on arbitrary bytes, as another program or an older version may have left it; and
// the entry that Tarvelo writes for an arbitrary executable path, which must read back as enabled.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz_check.h"
#include "scratch_folder.h"
#include "platform/linux/xdg_autostart_login_items.h"

using tarvelo::desktop::XdgAutostartLoginItems;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path folder = scratchFolder("autostart");
    FuzzedDataProvider provider(data, size);
    std::string executable = "/usr/bin/" + provider.ConsumeRandomLengthString(48);
    std::erase(executable, '\0');
    const std::string content = provider.ConsumeRemainingBytesAsString();
    XdgAutostartLoginItems items(folder, std::filesystem::path(executable), "");
    {
        std::ofstream out(items.entry(), std::ios::binary | std::ios::trunc);
        out << content;
    }

    (void)items.isEnabled();
    FUZZ_CHECK(!items.registerItem().has_value());
    FUZZ_CHECK(items.isEnabled());
    FUZZ_CHECK(!items.unregisterItem().has_value());
    FUZZ_CHECK(!items.isEnabled());
    return 0;
}
