// SPDX-License-Identifier: GPL-3.0-or-later
#include "contract_field.h"

#include <atspi/atspi.h>

#include <optional>

#include "desktop_environment.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_text_element.h"
#include "platform/linux/atspi/atspi_accessibility_api.h"
#include "platform/linux/atspi/atspi_text_element.h"

namespace tarvelo::desktop::testing {
namespace {

class FakeField final : public ContractField {
public:
    explicit FakeField(FieldKind kind)
        : element_(std::make_shared<FakeTextElement>(
              kind == FieldKind::multiLine ? "AXTextArea" : "AXTextField",
              kind == FieldKind::password ? std::optional<std::string>("AXSecureTextField") : std::nullopt)) {
        // The pretend field has no length limit; it refuses the edit outright, as the contract asks.
        element_->setRefusesSelectedText(kind == FieldKind::readOnly || kind == FieldKind::limited);
        desktop_.focus("org.tarvelo.fake", element_);
    }

    AccessibilityApi& api() override { return desktop_; }
    bool setMarkedText(std::string_view marked) override {
        element_->setMarkedText(marked);
        return true;
    }
    std::string markedText() override { return element_->markedText(); }

private:
    FakeDesktop desktop_;
    std::shared_ptr<FakeTextElement> element_;
};

class ProgramField final : public ContractField {
public:
    ProgramField(std::unique_ptr<AtspiAccessibilityApi> api, std::unique_ptr<TextFieldProgram> program)
        : api_(std::move(api)), program_(std::move(program)) {}

    AccessibilityApi& api() override { return *api_; }
    bool setMarkedText(std::string_view marked) override { return program_->setMarkedText(marked); }
    std::string markedText() override { return program_->markedText().value_or("(the program did not answer)"); }

private:
    std::unique_ptr<AtspiAccessibilityApi> api_;
    std::unique_ptr<TextFieldProgram> program_;
};

// Whether `element` is an object of the process `pid`.
bool belongsTo(const std::shared_ptr<AccessibilityElement>& element, pid_t pid) {
    const auto* text = dynamic_cast<const AtspiTextElement*>(element.get());
    if (text == nullptr) return false;
    GError* error = nullptr;
    const guint process = atspi_accessible_get_process_id(text->accessible(), &error);
    if (error != nullptr) {
        g_error_free(error);
        return false;
    }
    return static_cast<pid_t>(process) == pid;
}

}  // namespace

const char* backendName(Backend backend) {
    switch (backend) {
        case Backend::fake:
            return "fake";
        case Backend::gtk:
            return "gtk";
        case Backend::qt:
            return "qt";
    }
    return "?";
}

std::unique_ptr<ContractField> ContractField::open(Backend backend, FieldKind kind, std::string& failure) {
    if (backend == Backend::fake) return std::make_unique<FakeField>(kind);
    // Listening before the program starts, so that its first focus event is heard.
    auto api = std::make_unique<AtspiAccessibilityApi>();
    TextFieldProgram::Options options;
    options.toolkit = backend == Backend::gtk ? Toolkit::gtk : Toolkit::qt;
    options.kind = kind;
    std::unique_ptr<TextFieldProgram> program = TextFieldProgram::start(options, failure);
    if (program == nullptr) return nullptr;
    const pid_t pid = program->pid();
    if (!iterateUntil([&] { return belongsTo(api->focusedElement(), pid); }, 10.0)) {
        failure = std::string("the backend never saw the focus of the ") + backendName(backend) + " field";
        return nullptr;
    }
    return std::make_unique<ProgramField>(std::move(api), std::move(program));
}

}  // namespace tarvelo::desktop::testing
