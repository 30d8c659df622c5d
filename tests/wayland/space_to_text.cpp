// SPDX-License-Identifier: GPL-3.0-or-later
#include "space_to_text.h"

#include <linux/input-event-codes.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>

namespace tarvelo::wayland::testing {

SpaceTimes spaceToText(Keyboard& keyboard, const WaylandField::Options& options, const std::string& keys,
                       const std::string& shown, int words) {
    std::string failure;
    const std::unique_ptr<WaylandField> field = WaylandField::start(options, failure);
    if (field == nullptr) {
        std::fprintf(stderr, "%s: %s\n", toolkitName(options.toolkit), failure.c_str());
        return {};
    }
    const Keyboard::Pace pace = keyboard.pace();
    SpaceTimes times;
    std::string before;
    for (int word = 0; word < words; ++word) {
        if (!keyboard.type(keys)) return {};
        // The space is timed alone: the word's keys are in the field first.
        if (field->textWhenItReads(before + keys) != before + keys) {
            std::fprintf(stderr, "%s: word %d's keys did not reach the field\n", toolkitName(options.toolkit), word + 1);
            return {};
        }
        const std::string expected = before + shown;
        const std::string asTyped = before + keys + " ";
        const auto start = std::chrono::steady_clock::now();
        if (!keyboard.press(KEY_SPACE) || !keyboard.release(KEY_SPACE)) return {};
        std::optional<std::string> text;
        while ((text = field->text()) && *text != expected &&
               std::chrono::steady_clock::now() - start < std::chrono::seconds(5)) {
        }
        const double elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (text == expected) {
            times.milliseconds.push_back(elapsed);
            before = expected;
        } else if (text == asTyped && expected != asTyped) {
            ++times.leftAsTyped;
            before = asTyped;
        } else {
            std::fprintf(stderr, "%s: after word %d the field read \"%s\", not \"%s\"\n", toolkitName(options.toolkit),
                         word + 1, text.value_or("(no answer)").c_str(), expected.c_str());
            return {};
        }
        // A person's pause between words, so that each space is timed on its own.
        keyboard.setPace({150, 0, 5, 40});
        keyboard.tap(KEY_RIGHT);
        keyboard.setPace(pace);
    }
    return times;
}

double percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

}  // namespace tarvelo::wayland::testing
