// SPDX-License-Identifier: GPL-3.0-or-later
#include "signals.h"

#include <stdexcept>
#include <utility>

#include "platform/fake/null_language_recognizer.h"
#include "platform/fake/null_spell_checker.h"
#include "platform/linux/language/enchant_spell_checker.h"
#include "platform/linux/language/letter_model_language_recognizer.h"

namespace tarvelo::cli {

Signals::Signals(std::unique_ptr<SpellChecker> spellChecker, std::unique_ptr<LanguageRecognizer> recognizer)
    : spellChecker_(std::move(spellChecker)), recognizer_(std::move(recognizer)) {}

Signals makeSignals(SignalSource source) {
    switch (source) {
        case SignalSource::none:
            return Signals(std::make_unique<NullSpellChecker>(), std::make_unique<NullLanguageRecognizer>());
        case SignalSource::system:
            return Signals(std::make_unique<desktop::EnchantSpellChecker>(),
                           std::make_unique<desktop::LetterModelLanguageRecognizer>());
    }
    throw std::invalid_argument("unknown signal source");
}

}  // namespace tarvelo::cli
