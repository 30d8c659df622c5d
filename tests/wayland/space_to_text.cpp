// SPDX-License-Identifier: GPL-3.0-or-later
#include "space_to_text.h"

#include <linux/input-event-codes.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>

namespace tarvelo::wayland::testing {

std::vector<double> spaceToText(Keyboard& keyboard, const WaylandField::Options& options, const std::string& keys,
                                const std::string& shown, int words) {
    std::string failure;
    const std::unique_ptr<WaylandField> field = WaylandField::start(options, failure);
    if (field == nullptr) {
        std::fprintf(stderr, "%s: %s\n", toolkitName(options.toolkit), failure.c_str());
        return {};
    }
    const Keyboard::Pace pace = keyboard.pace();
    std::vector<double> times;
    std::string expected;
    for (int word = 0; word < words; ++word) {
        if (!keyboard.type(keys)) return {};
        expected += shown;
        const auto start = std::chrono::steady_clock::now();
        if (!keyboard.press(KEY_SPACE) || !keyboard.release(KEY_SPACE)) return {};
        std::optional<std::string> text;
        while ((text = field->text()) && *text != expected &&
               std::chrono::steady_clock::now() - start < std::chrono::seconds(5)) {
        }
        if (!text || *text != expected) {
            std::fprintf(stderr, "%s: after word %d the field read \"%s\", not \"%s\"\n", toolkitName(options.toolkit),
                         word + 1, text.value_or("(no answer)").c_str(), expected.c_str());
            return {};
        }
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
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
