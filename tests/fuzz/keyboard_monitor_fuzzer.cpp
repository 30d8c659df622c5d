// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard monitor, and the engine behind it, on arbitrary key records delivered through the
// pretend desktop, with time passing between them: no record crashes or corrupts the field.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz_check.h"
#include "platform/fake/simulated_session.h"
#include "text/utf8.h"

using namespace tarvelo;

namespace {

constexpr std::uint16_t kKeyCodes[] = {virtual_key::kSpace, virtual_key::kDelete, virtual_key::kZ, 0, 36, 53, 123};
constexpr std::uint64_t kFlags[] = {0, modifier_flag::kShift, modifier_flag::kOption, modifier_flag::kCommand,
                                    modifier_flag::kControl, modifier_flag::kOption | modifier_flag::kCommand};

KeyEventRecord record(FuzzedDataProvider& provider) {
    KeyEventRecord event;
    if (provider.ConsumeIntegralInRange<int>(0, 15) == 0) {
        event.type = provider.PickValueInArray({KeyEventRecord::kTapDisabledByTimeout,
                                                KeyEventRecord::kTapDisabledByUserInput,
                                                provider.ConsumeIntegral<std::uint32_t>()});
    }
    event.flags = provider.ConsumeBool() ? provider.PickValueInArray(kFlags) : provider.ConsumeIntegral<std::uint64_t>();
    event.keyCode = provider.ConsumeBool() ? provider.PickValueInArray(kKeyCodes) : provider.ConsumeIntegral<std::uint16_t>();
    if (provider.ConsumeIntegralInRange<int>(0, 7) == 0) event.userData = provider.ConsumeIntegral<std::int64_t>();
    if (provider.ConsumeIntegralInRange<int>(0, 7) != 0) event.characters = provider.ConsumeRandomLengthString(8);
    return event;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    SimulatedSession session;
    auto field = session.openField(std::string(SimulatedSession::kEditor), provider.ConsumeRandomLengthString(16));
    while (provider.remaining_bytes() > 0) {
        switch (provider.ConsumeIntegralInRange<int>(0, 11)) {
            case 0:
                session.wait(provider.ConsumeFloatingPointInRange<double>(0.0, 20.0));
                break;
            case 1:
                session.monitor().convertLastWord();
                break;
            case 2:
                session.keyboard.type(provider.ConsumeRandomLengthString(16));
                break;
            default:
                session.keyboard.press(record(provider));
                break;
        }
        FUZZ_CHECK(session.monitor().currentWordLength().get() <= WordBuffer::kLengthLimit);
    }
    session.wait(20.0);
    FUZZ_CHECK(text::isWellFormed(session.status()));
    return 0;
}
