// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fake/simulated_session.h"

namespace tarvelo {

SimulatedSession::SimulatedSession(Signals signals)
    : app(settings, permissions, exceptions, applicationFilter, statistics, inputSource,
          PipelinePlatform{accessibility, keyboard, keyboard, keyboard, desktop,
                           signals.spellChecker ? *signals.spellChecker : nullSpellChecker,
                           signals.recognizer ? *signals.recognizer : nullRecognizer, sound, notificationCenter,
                           clock, scheduler, inputContext},
          shell) {}

std::shared_ptr<FakeTextElement> SimulatedSession::openField(std::optional<std::string> application,
                                                             std::string_view text) {
    auto field = std::make_shared<FakeTextElement>();
    field->setText(text);
    desktop.focus(std::move(application), field);
    return field;
}

}  // namespace tarvelo
