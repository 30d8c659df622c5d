// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/onboarding_flow.h"

#include <utility>

#include "store/defaults_keys.h"

namespace tarvelo {

OnboardingFlow::OnboardingFlow(AppState& state, DefaultsStore& defaults, KeyLabels keyLabels,
                               std::function<void()> dismiss)
    : state_(state), defaults_(defaults), keyLabels_(std::move(keyLabels)), dismiss_(std::move(dismiss)) {}

std::string OnboardingFlow::counterText() const { return std::to_string(step_ + 1) + " of " + std::to_string(kStepCount); }

std::string OnboardingFlow::primaryTitle() const { return step_ < kStepCount - 1 ? "Continue" : "Start Tarvelo"; }

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
        return {true, "checkmark.seal.fill", "Ready in the menu bar",
                "Automatic correction is on. Use " + keyLabels_.convertSelectionInSentence +
                    " to convert selected text at any time."};
    }
    return {false, "exclamationmark.shield.fill", "Ready with limited access",
            "The app will stay idle until both permissions are granted. Open Settings \u2192 Privacy when "
            "you\u2019re ready."};
}

}  // namespace tarvelo
