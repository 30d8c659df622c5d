// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <set>
#include <string>
#include <vector>

#include <QWidget>

#include "platform/key_labels.h"
#include "store/application_filter.h"
#include "support/subscription.h"

class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace tarvelo::ui {

class SwitchToggle;

// The Applications page: a switch per known application, the user's own excluded identifiers with a
// button to remove each, and a field to exclude another.
class ApplicationsSettingsView : public QWidget {
    Q_OBJECT

public:
    // `words` names an application the way this desktop does.
    // Without `knowsApplications` (the desktop does not say which application has the keyboard) the
    // page says that no exclusion applies.
    ApplicationsSettingsView(ApplicationFilter& filter, const KeyLabels& words, bool knowsApplications = true,
                             QWidget* parent = nullptr);

private:
    void submit();
    void refresh(const std::set<std::string>& disabled);

    ApplicationFilter& filter_;
    std::vector<SwitchToggle*> knownSwitches_;
    QWidget* customList_;
    QVBoxLayout* customRows_;
    std::vector<std::string> shownCustom_;
    QLineEdit* identifier_;
    QPushButton* exclude_;
    Subscription disabled_;
};

}  // namespace tarvelo::ui
