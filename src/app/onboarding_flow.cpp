// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/onboarding_flow.h"

#include <string>
#include <utility>

#include "store/defaults_keys.h"
#include "support/translation.h"

namespace tarvelo {

OnboardingFlow::OnboardingFlow(AppState& state, DefaultsStore& defaults, KeyLabels keyLabels,
                               std::function<void()> dismiss)
    : state_(state), defaults_(defaults), keyLabels_(std::move(keyLabels)), dismiss_(std::move(dismiss)) {}

std::string OnboardingFlow::counterText() const {
    return i18n::format(i18n::tr("{step} of {count}"),
                        {{"step", std::to_string(step_ + 1)}, {"count", std::to_string(kStepCount)}});
}

std::string OnboardingFlow::primaryTitle() const {
    return i18n::tr(step_ < kStepCount - 1 ? "Continue" : "Start Tarvelo");
}

void OnboardingFlow::back() {
    if (step_ > 0) --step_;
}

void OnboardingFlow::primary() {
    if (step_ < kStepCount - 1) {
        ++step_;
        return;
    }
    defaults_.setObject(defaults_keys::onboarding, DefaultsValue{true});
    state_.keyboardMonitor.restartIfPossible();
    dismiss_();
}

OnboardingReadiness OnboardingFlow::readiness() const {
    if (state_.permissions.hasAccessibility.get() && state_.permissions.hasInputMonitoring.get()) {
        // The chord the user has now, which may have moved off a chord the desktop holds.
        const KeyChord chord = state_.hotkeys.chord(Shortcut::convertSelection).get();
        const std::string named = chord == HotKeyManager::defaultChord(Shortcut::convertSelection)
                                      ? keyLabels_.convertSelectionInSentence
                                      : key_chord::format(chord);
        return {true, "checkmark.seal.fill", i18n::tr(keyLabels_.readyHeading.c_str()),
                i18n::format(i18n::tr("Automatic correction is on. Use {chord} to convert selected text at any time."),
                             {{"chord", named}})};
    }
    return {false, "exclamationmark.shield.fill", i18n::tr("Ready with limited access"),
            i18n::tr(keyLabels_.limitedAccessText.c_str())};
}

}  // namespace tarvelo
