// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "platform/language_recognizer.h"
#include "platform/spell_checker.h"

namespace tarvelo::cli {

// Where the platform signals of the scores (spelling dictionaries, language recogniser) come from.
enum class SignalSource {
    // Signals that find nothing: the scores rest on the built-in word and letter-pair lists alone, so
    // the output is the same on every machine.
    none,
    // The desktop's own: Enchant with the hunspell en_US and ru_RU dictionaries, and the letter-model
    // recogniser built into the program. What the application scores with.
    system,
};

// The signals the tools score with unless told otherwise.
inline constexpr SignalSource kDefaultSignalSource = SignalSource::system;

// The spell checker and recogniser that the tools score with. Both live on the heap, so the
// references handed to a LanguageDetector stay valid when a Signals value is moved.
class Signals {
public:
    SpellChecker& spellChecker() const { return *spellChecker_; }
    LanguageRecognizer& recognizer() const { return *recognizer_; }

private:
    friend Signals makeSignals(SignalSource source);

    Signals(std::unique_ptr<SpellChecker> spellChecker, std::unique_ptr<LanguageRecognizer> recognizer);

    std::unique_ptr<SpellChecker> spellChecker_;
    std::unique_ptr<LanguageRecognizer> recognizer_;
};

// The one place where the tools choose their signals. Dictionaries that are not installed are
// simply not found: the spelling signal then never adds anything.
Signals makeSignals(SignalSource source = kDefaultSignalSource);

}  // namespace tarvelo::cli
