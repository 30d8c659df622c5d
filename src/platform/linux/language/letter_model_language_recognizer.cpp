// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/language/letter_model_language_recognizer.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include "platform/linux/language/built_in_letter_model.h"
#include "platform/linux/installation.h"
#include "platform/linux/language/letter_model_file.h"
#include "text/case_mapping.h"
#include "text/properties.h"
#include "text/utf8.h"

namespace tarvelo::desktop {
namespace {

std::vector<LetterModel> modelsOf(std::string_view modelText) {
    std::vector<LetterModel> models;
    const auto file = parseLetterModelFile(modelText);
    if (!file) return models;
    for (const LetterModelDescription& language : file->languages) {
        auto model = LetterModel::make(language);
        if (!model) return {};
        models.push_back(std::move(*model));
    }
    return models;
}

// The text of the installed model, or nothing for a program run from its build folder. The file lets a
// packager or a user put in a model rebuilt by scripts/generate-model without rebuilding the program.
std::string installedModelText() {
    const auto installation = Installation::containing(Installation::runningProgram());
    if (!installation) return {};
    std::ifstream file(installation->dataFile("letter_model.txt"), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace

LetterModelLanguageRecognizer::LetterModelLanguageRecognizer() : models_(modelsOf(installedModelText())) {
    if (models_.empty()) models_ = modelsOf(builtInLetterModelText());
}

LetterModelLanguageRecognizer::LetterModelLanguageRecognizer(std::string_view modelText)
    : models_(modelsOf(modelText)) {}

LanguageHypotheses LetterModelLanguageRecognizer::languageHypotheses(std::string_view text, std::size_t maximum) {
    if (maximum == 0 || models_.empty()) return {};
    const std::u32string word = text::scalars(text::comparisonKey(text));
    if (std::none_of(word.begin(), word.end(), text::isAlphabetic)) return {};

    std::vector<std::pair<std::string_view, double>> ranked;
    ranked.reserve(models_.size());
    for (const LetterModel& model : models_) ranked.emplace_back(model.tag(), model.probability(word));
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    if (ranked.size() > maximum) ranked.resize(maximum);

    LanguageHypotheses hypotheses;
    for (const auto& [tag, probability] : ranked) hypotheses.emplace(tag, probability);
    return hypotheses;
}

}  // namespace tarvelo::desktop
