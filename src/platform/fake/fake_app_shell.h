// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "platform/app_shell.h"

namespace tarvelo {

// Records every activation policy it is given.
class FakeAppShell final : public AppShell {
public:
    void setActivationPolicy(ActivationPolicy policy) override { policies_.push_back(policy); }
    const std::vector<ActivationPolicy>& policies() const { return policies_; }

private:
    std::vector<ActivationPolicy> policies_;
};

}  // namespace tarvelo
