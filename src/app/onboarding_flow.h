// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

#include "app/app_state.h"
#include "platform/defaults_store.h"
#include "platform/key_labels.h"

namespace tarvelo {

// The last step's two forms: both permissions granted, or not. The texts are in the user's language.
struct OnboardingReadiness {
    bool ready = false;
    std::string systemImage;
    std::string heading;
    std::string text;
};

// The three-step welcome: which step shows, what its footer offers, and the finishing action that marks
// onboarding as done for good. The step starts at 0 whenever the window is built.
class OnboardingFlow {
public:
    static constexpr int kStepCount = 3;

    // `dismiss` closes the onboarding window.
    OnboardingFlow(AppState& state, DefaultsStore& defaults, KeyLabels keyLabels, std::function<void()> dismiss);
    OnboardingFlow(const OnboardingFlow&) = delete;
    OnboardingFlow& operator=(const OnboardingFlow&) = delete;

    int step() const { return step_; }
    // "1 of 3", "2 of 3", "3 of 3", in the user's language like every text of the flow.
    std::string counterText() const;
    bool showsBack() const { return step_ > 0; }
    // "Continue", then "Start Tarvelo" on the last step.
    std::string primaryTitle() const;

    void back();
    // Moves on; on the last step stores that onboarding is finished, lets the keyboard monitor start if
    // it can and closes the window, whichever permissions were granted.
    void primary();

    // What the last step says, from the permissions as they are now.
    OnboardingReadiness readiness() const;

private:
    AppState& state_;
    DefaultsStore& defaults_;
    KeyLabels keyLabels_;
    std::function<void()> dismiss_;
    int step_ = 0;
};

}  // namespace tarvelo
