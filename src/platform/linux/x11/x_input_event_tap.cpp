// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/x11/x_input_event_tap.h"

#include <chrono>

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

namespace tarvelo::desktop {
namespace {

constexpr const char* kControlZ = "Ctrl+Z";

// The XKB names of the positions a shortcut's chord may use, by virtual key code.
const char* xkbKeyName(std::uint16_t virtualKey) {
    static constexpr struct {
        std::uint16_t virtualKey;
        const char* name;
    } kPositions[] = {
        {49, "SPCE"}, {12, "AD01"}, {13, "AD02"}, {14, "AD03"}, {15, "AD04"}, {17, "AD05"}, {16, "AD06"},
        {32, "AD07"}, {34, "AD08"}, {31, "AD09"}, {35, "AD10"}, {0, "AC01"},  {1, "AC02"},  {2, "AC03"},
        {3, "AC04"},  {5, "AC05"},  {4, "AC06"},  {38, "AC07"}, {40, "AC08"}, {37, "AC09"}, {6, "AB01"},
        {7, "AB02"},  {8, "AB03"},  {9, "AB04"},  {11, "AB05"}, {45, "AB06"}, {46, "AB07"}, {18, "AE01"},
        {19, "AE02"}, {20, "AE03"}, {21, "AE04"}, {23, "AE05"}, {22, "AE06"}, {26, "AE07"}, {28, "AE08"},
        {25, "AE09"}, {29, "AE10"}, {122, "FK01"}, {120, "FK02"}, {99, "FK03"}, {118, "FK04"}, {96, "FK05"},
        {97, "FK06"}, {98, "FK07"}, {100, "FK08"}, {101, "FK09"}, {109, "FK10"}, {103, "FK11"}, {111, "FK12"},
    };
    for (const auto& position : kPositions) {
        if (position.virtualKey == virtualKey) return position.name;
    }
    return nullptr;
}

// The XTEST keyboard that every client's XTest presses come from; -1 when the server has none.
int findXTestKeyboard(Display* display) {
    int count = 0;
    const std::unique_ptr<XIDeviceInfo, decltype(&XIFreeDeviceInfo)> devices(XIQueryDevice(display, XIAllDevices, &count),
                                                                             &XIFreeDeviceInfo);
    if (devices == nullptr) return -1;
    for (int i = 0; i < count; ++i) {
        const XIDeviceInfo& device = devices.get()[i];
        if (device.use == XISlaveKeyboard && device.name != nullptr && std::strstr(device.name, "XTEST") != nullptr) {
            return device.deviceid;
        }
    }
    return -1;
}

void selectRawKeyPresses(Display* display, Window root, bool selected) {
    unsigned char bits[XIMaskLen(XI_RawKeyPress)] = {};
    if (selected) XISetMask(bits, XI_RawKeyPress);
    XIEventMask mask;
    mask.deviceid = XIAllMasterDevices;
    mask.mask_len = sizeof(bits);
    mask.mask = bits;
    XISelectEvents(display, root, &mask, 1);
}

}  // namespace

XInputEventTap::XInputEventTap(X11Display* display, XkbKeymap* keymap, InjectedKeys& injected, KeyboardHold& hold)
    : display_(display),
      keymap_(keymap),
      injected_(injected),
      hold_(hold),
      chords_{{virtual_key::kSpace, modifier_flag::kOption},
              {virtual_key::kSpace, modifier_flag::kOption | modifier_flag::kCommand}} {}

XInputEventTap::~XInputEventTap() { remove(); }

bool XInputEventTap::install(Callback callback) {
    if (installed_) remove();
    if (display_ == nullptr || keymap_ == nullptr || !display_->hasInputExtensions()) return false;
    Display* display = display_->get();
    xtestDevice_ = findXTestKeyboard(display);
    callback_ = std::move(callback);
    handler_ = display_->addHandler([this](XEvent& event) { handle(event); });
    selectRawKeyPresses(display, display_->rootWindow(), true);
    installed_ = true;
    enabled_ = true;
    grabAll();
    display_->flush();
    return true;
}

void XInputEventTap::enable() {
    if (installed_) enabled_ = true;
}

void XInputEventTap::remove() {
    if (!installed_) return;
    Display* display = display_->get();
    ungrabAll();
    selectRawKeyPresses(display, display_->rootWindow(), false);
    // A chord grabbed a moment ago may still hold the keyboard for an answer that will not come now.
    XAllowEvents(display, ReplayKeyboard, CurrentTime);
    display_->removeHandler(handler_);
    display_->flush();
    handler_ = 0;
    callback_ = nullptr;
    installed_ = false;
    enabled_ = false;
    // The keyboard is free now: what the callback posted while it was held can reach the focused window.
    hold_.release();
}

void XInputEventTap::setUndoChordWanted(bool wanted) {
    if (wanted == undoWanted_) return;
    undoWanted_ = wanted;
    if (!installed_) return;
    if (wanted) {
        grabUndoChord();
    } else if (!undoGrabs_.empty()) {
        for (const Grab& grabbed : undoGrabs_) ungrab(grabbed.keycode, grabbed.modifiers);
        undoGrabs_.clear();
        unavailable_.erase(std::remove(unavailable_.begin(), unavailable_.end(), kControlZ), unavailable_.end());
    }
    display_->flush();
}

void XInputEventTap::setChords(const std::vector<KeyChord>& chords) {
    if (chords == chords_) return;
    chords_ = chords;
    keysStale_ = true;
    if (!installed_) return;
    for (const Grab& grabbed : chordGrabs_) ungrab(grabbed.keycode, grabbed.modifiers);
    chordGrabs_.clear();
    const bool undoUnavailable = std::find(unavailable_.begin(), unavailable_.end(), kControlZ) != unavailable_.end();
    unavailable_.clear();
    grabShortcutChords();
    if (undoUnavailable) unavailable_.emplace_back(kControlZ);
    // The undo grab may share a combination with a chord let go of just now.
    if (!undoGrabs_.empty()) {
        for (const Grab& grabbed : undoGrabs_) ungrab(grabbed.keycode, grabbed.modifiers);
        undoGrabs_.clear();
        unavailable_.erase(std::remove(unavailable_.begin(), unavailable_.end(), kControlZ), unavailable_.end());
        grabUndoChord();
    }
    display_->flush();
}

void XInputEventTap::refreshKeys() {
    const std::uint64_t revision = keymap_->revision();
    if (revision == keysRevision_ && !keysStale_) return;
    keysRevision_ = revision;
    keysStale_ = false;
    spaceKey_ = keymap_->keycode("SPCE").value_or(0);
    backspaceKey_ = keymap_->keycode("BKSP").value_or(0);
    zKey_ = keymap_->keycode("AB01").value_or(0);
    chordKeys_.clear();
    for (const KeyChord& chord : chords_) {
        const char* name = xkbKeyName(chord.keyCode);
        const std::uint32_t keycode = name == nullptr ? 0 : keymap_->keycode(name).value_or(0);
        if (keycode != 0) chordKeys_.push_back({keycode, chord.keyCode});
    }
}

bool XInputEventTap::isHeldKey(std::uint32_t keycode) const {
    if (keycode == spaceKey_ || keycode == zKey_) return true;
    return std::any_of(chordKeys_.begin(), chordKeys_.end(), [&](const ChordKey& key) { return key.keycode == keycode; });
}

std::vector<std::uint32_t> XInputEventTap::lockVariants() const {
    // A passive grab matches the modifiers exactly, so Caps Lock and Num Lock each need their own.
    std::vector<std::uint32_t> variants{0, LockMask};
    const std::uint32_t numLock = keymap_->numLockMask();
    if (numLock != 0) {
        variants.push_back(numLock);
        variants.push_back(numLock | LockMask);
    }
    return variants;
}

bool XInputEventTap::grab(std::uint32_t keycode, std::uint32_t modifiers) {
    Display* display = display_->get();
    bool complete = true;
    for (const std::uint32_t variant : lockVariants()) {
        X11Display::ErrorTrap trap(*display_);
        XGrabKey(display, static_cast<int>(keycode), modifiers | variant, display_->rootWindow(), False, GrabModeAsync,
                 GrabModeSync);
        // BadAccess: another client has this combination; the variants that were free stay grabbed.
        if (!trap.sync()) complete = false;
    }
    return complete;
}

void XInputEventTap::ungrab(std::uint32_t keycode, std::uint32_t modifiers) {
    Display* display = display_->get();
    X11Display::ErrorTrap trap(*display_);
    for (const std::uint32_t variant : lockVariants()) {
        XUngrabKey(display, static_cast<int>(keycode), modifiers | variant, display_->rootWindow());
    }
}

namespace {

// Every combination of the bits of `mask`, none included.
std::vector<std::uint32_t> combinationsOf(std::uint32_t mask) {
    std::vector<std::uint32_t> combinations{0};
    for (std::uint32_t bit = 1; bit != 0 && bit <= mask; bit <<= 1) {
        if ((mask & bit) == 0) continue;
        const std::size_t count = combinations.size();
        for (std::size_t i = 0; i < count; ++i) combinations.push_back(combinations[i] | bit);
    }
    return combinations;
}

}  // namespace

bool XInputEventTap::grabChord(std::uint32_t keycode, std::uint32_t modifiers, std::uint32_t ignored,
                               std::vector<Grab>& grabs) {
    bool available = true;
    // The monitor does not look at these modifiers for the chord, so neither may the grab: Shift+Alt+Space
    // is Alt+Space, and Ctrl+Shift+Z undoes too.
    for (const std::uint32_t extra : combinationsOf(ignored & ~modifiers)) {
        if (!grab(keycode, modifiers | extra)) available = false;
        grabs.push_back({keycode, modifiers | extra});
    }
    return available;
}

void XInputEventTap::grabAll() {
    unavailable_.clear();
    grabShortcutChords();
    if (undoWanted_) grabUndoChord();
}

void XInputEventTap::grabShortcutChords() {
    refreshKeys();
    const std::uint32_t alt = keymap_->altMask();
    const std::uint32_t super = keymap_->superMask();
    for (const KeyChord& chord : chords_) {
        const auto key = std::find_if(chordKeys_.begin(), chordKeys_.end(),
                                      [&](const ChordKey& k) { return k.virtualKey == chord.keyCode; });
        std::uint32_t modifiers = 0;
        bool missing = key == chordKeys_.end();
        const std::pair<std::uint64_t, std::uint32_t> masks[] = {{modifier_flag::kCommand, ControlMask},
                                                                 {modifier_flag::kOption, alt},
                                                                 {modifier_flag::kShift, ShiftMask},
                                                                 {modifier_flag::kControl, super}};
        for (const auto& [flag, mask] : masks) {
            if ((chord.modifiers & flag) == 0) continue;
            if (mask == 0) missing = true;
            modifiers |= mask;
        }
        const std::string name = key_chord::format(chord);
        if (missing || !grabChord(key->keycode, modifiers, (ShiftMask | super) & ~modifiers, chordGrabs_)) {
            if (std::find(unavailable_.begin(), unavailable_.end(), name) == unavailable_.end()) {
                unavailable_.push_back(name);
            }
        }
    }
}

void XInputEventTap::grabUndoChord() {
    refreshKeys();
    if (zKey_ == 0) {
        unavailable_.emplace_back(kControlZ);
        return;
    }
    if (!grabChord(zKey_, ControlMask, ShiftMask | keymap_->altMask() | keymap_->superMask(), undoGrabs_)) {
        unavailable_.emplace_back(kControlZ);
    }
}

void XInputEventTap::ungrabAll() {
    for (const Grab& grabbed : chordGrabs_) ungrab(grabbed.keycode, grabbed.modifiers);
    chordGrabs_.clear();
    for (const Grab& grabbed : undoGrabs_) ungrab(grabbed.keycode, grabbed.modifiers);
    undoGrabs_.clear();
}

void XInputEventTap::handle(XEvent& event) {
    if (event.type == GenericEvent) {
        const XGenericEventCookie& cookie = event.xcookie;
        if (cookie.extension != display_->xinputOpcode() || cookie.evtype != XI_RawKeyPress || cookie.data == nullptr) return;
        const auto* raw = static_cast<const XIRawEvent*>(cookie.data);
        handleRawKeyPress({raw->sourceid, static_cast<std::uint32_t>(raw->detail), raw->time});
        return;
    }
    // While a chord's grab is active every key goes to it; only the grabbed keys' presses wait for an
    // answer, the others were delivered from their raw events already.
    if (event.type == KeyPress && event.xkey.window == display_->rootWindow() && !event.xkey.send_event &&
        isHeldKey(event.xkey.keycode)) {
        handleGrabbedPress(event.xkey.keycode, event.xkey.state, event.xkey.time);
    }
}

void XInputEventTap::handleRawKeyPress(const RawKeyPress& press) {
    if (!enabled_) return;
    refreshKeys();
    const bool injected = press.sourceDevice == xtestDevice_ && injected_.claim(press.keycode);
    // Pressing Shift or Ctrl on its way to a chord or a capital letter is no key of the word: the
    // monitor sees key-downs only, as a desktop that reports modifiers separately shows them.
    if (keymap_->isModifierKey(press.keycode)) return;
    const bool grabbable = isHeldKey(press.keycode);
    if (!grabbable) {
        deliver(recordFor(press.keycode, keymap_->modifiers(), injected));
        return;
    }
    // Asked already for the grab's KeyPress, which came first. Only such an answer stands for this press:
    // another press of the key in the same millisecond (a Space typed right before the chord) does not.
    if (Answered* answered = findAnswered(press.time, press.keycode, true); answered != nullptr) {
        *answered = {};
        return;
    }
    // The press may have started one of the grabs: then the keyboard stays frozen until the grab's
    // KeyPress comes and the answer is applied.
    hold_.hold();
    const TapAnswer answer = deliver(recordFor(press.keycode, keymap_->modifiers(), injected));
    remember({press.time, press.keycode, answer, false});
    // Only what the callback posted needs to know whether the keyboard is frozen.
    if (!installed_ || !hold_.hasWaiting() || !grabbedPressFollows(press)) hold_.release();
}

bool XInputEventTap::grabbedPressFollows(const RawKeyPress& press) {
    struct Wanted {
        Window root;
        std::uint32_t keycode;
        Time time;
        bool found;
    } wanted{display_->rootWindow(), press.keycode, press.time, false};
    const auto look = [](Display*, XEvent* event, XPointer argument) -> Bool {
        auto* sought = reinterpret_cast<Wanted*>(argument);
        const XKeyEvent& key = event->xkey;
        if (event->type == KeyPress && key.window == sought->root && !key.send_event &&
            key.keycode == sought->keycode && key.time == sought->time) {
            sought->found = true;
        }
        return False;  // looked at, left in the queue
    };
    Display* display = display_->get();
    XEvent unused;
    XCheckIfEvent(display, &unused, look, reinterpret_cast<XPointer>(&wanted));
    if (wanted.found) return true;
    // The server sends the grab's KeyPress while handling the same key event as the raw one: after a
    // round trip it is here if it exists at all.
    display_->sync();
    XCheckIfEvent(display, &unused, look, reinterpret_cast<XPointer>(&wanted));
    return wanted.found;
}

void XInputEventTap::handleGrabbedPress(std::uint32_t keycode, std::uint32_t modifiers, unsigned long time) {
    hold_.hold();
    TapAnswer answer = TapAnswer::pass;
    if (Answered* answered = findAnswered(time, keycode, false); answered != nullptr) {
        answer = answered->answer;
        *answered = {};
    } else {
        // The raw event has not come (yet): ask now, and let the raw event know it was asked.
        answer = deliver(recordFor(keycode, modifiers, false));
        remember({time, keycode, answer, true});
    }
    // The server holds the keyboard until this answer.
    Display* display = display_->get();
    if (answer == TapAnswer::swallow) {
        XAllowEvents(display, AsyncKeyboard, time);
        // The grab would last until the chord's key is released; the posted keys must reach the focused
        // window before that. The press's own time never ends a newer grab of the next chord.
        XUngrabKeyboard(display, time);
    } else {
        // The chord reaches the focused window now, ahead of anything the callback posted.
        XAllowEvents(display, ReplayKeyboard, time);
    }
    display_->flush();
    hold_.release();
}

KeyEventRecord XInputEventTap::recordFor(std::uint32_t keycode, std::uint32_t modifiers, bool injected) {
    KeyEventRecord record;
    record.type = KeyEventRecord::kKeyDown;
    if (keycode == spaceKey_) {
        record.keyCode = virtual_key::kSpace;
    } else if (keycode == backspaceKey_) {
        record.keyCode = virtual_key::kDelete;
    } else if (keycode == zKey_) {
        record.keyCode = virtual_key::kZ;
    } else if (const auto key = std::find_if(chordKeys_.begin(), chordKeys_.end(),
                                             [&](const ChordKey& k) { return k.keycode == keycode; });
               key != chordKeys_.end()) {
        record.keyCode = key->virtualKey;
    } else {
        record.keyCode = static_cast<std::uint16_t>(kOtherKeyBase + keycode);
    }
    std::uint64_t flags = 0;
    if ((modifiers & ShiftMask) != 0) flags |= modifier_flag::kShift;
    if ((modifiers & ControlMask) != 0) flags |= modifier_flag::kCommand;
    if ((modifiers & keymap_->altMask()) != 0) flags |= modifier_flag::kOption;
    if ((modifiers & keymap_->superMask()) != 0) flags |= modifier_flag::kControl;
    record.flags = flags;
    record.userData = injected ? kSyntheticEventMarker : 0;
    std::string text = keymap_->text(keycode);
    if (!text.empty()) record.characters = std::move(text);
    return record;
}

bool XInputEventTap::isHoldingKeyboard() const {
    return holdingKeyboard_ || std::chrono::steady_clock::now() - heldUntil_ < kFocusSettleTime;
}

TapAnswer XInputEventTap::deliver(const KeyEventRecord& record) {
    if (!callback_ || !enabled_) return TapAnswer::pass;
    // A copy: the callback may remove or reinstall the tap while it runs.
    const Callback callback = callback_;
    const bool chord = std::any_of(chords_.begin(), chords_.end(),
                                   [&](const KeyChord& c) { return key_chord::matches(c, record.keyCode, record.flags); }) ||
                       (record.keyCode == virtual_key::kZ && (record.flags & modifier_flag::kCommand) != 0 &&
                        !undoGrabs_.empty());
    holdingKeyboard_ = chord;
    const TapAnswer answer = callback(record);
    holdingKeyboard_ = false;
    if (chord) heldUntil_ = std::chrono::steady_clock::now();
    return answer;
}

XInputEventTap::Answered* XInputEventTap::findAnswered(unsigned long time, std::uint32_t keycode, bool byGrab) {
    // The latest first: of two presses within one millisecond, the grab's KeyPress follows the second.
    for (std::size_t age = 1; age <= answered_.size(); ++age) {
        Answered& answered = answered_[(nextAnswered_ + answered_.size() - age) % answered_.size()];
        if (answered.keycode == keycode && answered.time == time && answered.byGrab == byGrab) return &answered;
    }
    return nullptr;
}

void XInputEventTap::remember(const Answered& answered) {
    answered_[nextAnswered_] = answered;
    nextAnswered_ = (nextAnswered_ + 1) % answered_.size();
}

}  // namespace tarvelo::desktop
