// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fake/fake_language_recognizer.h"

#include <algorithm>
#include <utility>

namespace tarvelo {

LanguageHypotheses FakeLanguageRecognizer::languageHypotheses(std::string_view text, std::size_t maximum) {
    requests_.emplace_back(text);
    const auto answer = answers_.find(text);
    if (answer == answers_.end()) return {};
    // Keep the `maximum` most probable, as a real recogniser would.
    std::vector<std::pair<std::string, double>> ranked(answer->second.begin(), answer->second.end());
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    if (ranked.size() > maximum) ranked.resize(maximum);
    return LanguageHypotheses(ranked.begin(), ranked.end());
}

}  // namespace tarvelo
