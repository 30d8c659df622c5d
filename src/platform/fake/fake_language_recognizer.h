// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/language_recognizer.h"

namespace tarvelo {

// A recogniser with no opinion until a test tells it what to answer for a text.
class FakeLanguageRecognizer final : public LanguageRecognizer {
public:
    LanguageHypotheses languageHypotheses(std::string_view text, std::size_t maximum) override;

    void setHypotheses(const std::string& text, LanguageHypotheses hypotheses) {
        answers_[text] = std::move(hypotheses);
    }

    // The texts asked about, in order.
    const std::vector<std::string>& requests() const { return requests_; }

private:
    std::map<std::string, LanguageHypotheses, std::less<>> answers_;
    std::vector<std::string> requests_;
};

}  // namespace tarvelo
