// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>

#include "platform/accessibility_api.h"

namespace tarvelo::desktop {

// The desktop's accessibility tree over AT-SPI 2. The focused object is tracked from focus events,
// which arrive on GLib's default main context (Qt's event loop runs it on Linux); the tree is searched
// for it only when nothing is tracked, because a search costs milliseconds: at construction, and then
// at most once every kSearchInterval, each search bounded in time. Where the focused object is a
// document or page whose text sits in parts of it (Gecko, LibreOffice), the element is the part that
// holds the caret. Without an accessibility bus it answers nullptr and tries to
// connect again at that pace. Main thread only.
class AtspiAccessibilityApi final : public AccessibilityApi {
public:
    static constexpr double kSearchInterval = 1.0;

    // Whether the keyboard is held by a grab of this process right now (the X11 tap holds it while a
    // shortcut is answered). The focused application is told it lost focus while that lasts, though the
    // user's focus has not moved.
    using KeyboardHeld = std::function<bool()>;

    // Connects at once unless `connectNow` is false; then only the first focusedElement() does.
    explicit AtspiAccessibilityApi(KeyboardHeld keyboardHeld = [] { return false; }, bool connectNow = true);
    ~AtspiAccessibilityApi() override;

    // An element for the tracked object while it still has focus and is editable text; nullptr when
    // it is something else, nothing has focus, or the desktop does not answer.
    std::shared_ptr<AccessibilityElement> focusedElement() override;

private:
    struct Tracker;
    std::unique_ptr<Tracker> tracker_;
};

}  // namespace tarvelo::desktop
