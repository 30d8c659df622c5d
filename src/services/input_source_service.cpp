// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/input_source_service.h"

#include "text/case_mapping.h"

namespace tarvelo {

InputSourceService::InputSourceService(InputContext& context, Scheduler& scheduler) : context_(context) {
    refresh();
    // The timer ends with the service (timer_), so the task never reaches a destroyed one.
    timer_ = scheduler.every(kRefreshInterval, [this] { refresh(); });
}

void InputSourceService::refresh() { displayName_.set(displayNameFor(context_.selectedKeyboardInputSource())); }

std::string InputSourceService::displayNameFor(const std::optional<std::string>& identifier) {
    if (!identifier) return "Unknown";
    const std::string lowered = text::lowercased(*identifier);
    const auto mentions = [&](std::string_view part) { return lowered.find(part) != std::string::npos; };
    // Substrings on purpose: they cover the desktop's layout names ("com.apple.keylayout.RussianWin")
    // and XKB's short ones ("ru", "us") alike.
    if (mentions("russian") || mentions("ru")) return "Russian";
    if (mentions("abc") || mentions("us") || mentions("english")) return "English";

    // The last non-empty dotted part, as in "com.apple.keylayout.German".
    const std::string& whole = *identifier;
    std::size_t end = whole.size();
    while (end > 0 && whole[end - 1] == '.') --end;
    if (end == 0) return whole;
    const std::size_t dot = whole.rfind('.', end - 1);
    const std::size_t begin = dot == std::string::npos ? 0 : dot + 1;
    return whole.substr(begin, end - begin);
}

}  // namespace tarvelo
