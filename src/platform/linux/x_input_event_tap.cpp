#include "platform/linux/x_input_event_tap.h"

#include <chrono>

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

namespace tarvelo::desktop {
namespace {

constexpr const char* kAltSpace = "Alt+Space";
constexpr const char* kControlAltSpace = "Ctrl+Alt+Space";
constexpr const char* kControlZ = "Ctrl+Z";

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

XInputEventTap::XInputEventTap(X11Display* display, XkbKeymap* keymap, InjectedKeys& injected)
    : display_(display), keymap_(keymap), injected_(injected) {}

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
}

void XInputEventTap::setUndoChordWanted(bool wanted) {
    if (wanted == undoWanted_) return;
    undoWanted_ = wanted;
    if (!installed_) return;
    if (wanted) {
        grabUndoChord();
    } else if (undoGrab_) {
        ungrab(undoGrab_->keycode, undoGrab_->modifiers);
        undoGrab_.reset();
        unavailable_.erase(std::remove(unavailable_.begin(), unavailable_.end(), kControlZ), unavailable_.end());
    }
    display_->flush();
}

void XInputEventTap::refreshKeys() {
    const std::uint64_t revision = keymap_->revision();
    if (revision == keysRevision_) return;
    keysRevision_ = revision;
    spaceKey_ = keymap_->keycode("SPCE").value_or(0);
    backspaceKey_ = keymap_->keycode("BKSP").value_or(0);
    zKey_ = keymap_->keycode("AB01").value_or(0);
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

void XInputEventTap::grabAll() {
    refreshKeys();
    unavailable_.clear();
    const std::uint32_t alt = keymap_->altMask();
    const std::pair<const char*, std::uint32_t> spaceChords[] = {{kAltSpace, alt}, {kControlAltSpace, alt | ControlMask}};
    for (const auto& [name, modifiers] : spaceChords) {
        if (spaceKey_ == 0 || alt == 0) {
            unavailable_.emplace_back(name);
            continue;
        }
        if (!grab(spaceKey_, modifiers)) unavailable_.emplace_back(name);
        chordGrabs_.push_back({spaceKey_, modifiers});
    }
    if (undoWanted_) grabUndoChord();
}

void XInputEventTap::grabUndoChord() {
    refreshKeys();
    if (zKey_ == 0) {
        unavailable_.emplace_back(kControlZ);
        return;
    }
    if (!grab(zKey_, ControlMask)) unavailable_.emplace_back(kControlZ);
    undoGrab_ = Grab{zKey_, ControlMask};
}

void XInputEventTap::ungrabAll() {
    for (const Grab& grabbed : chordGrabs_) ungrab(grabbed.keycode, grabbed.modifiers);
    chordGrabs_.clear();
    if (undoGrab_) ungrab(undoGrab_->keycode, undoGrab_->modifiers);
    undoGrab_.reset();
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
        (event.xkey.keycode == spaceKey_ || event.xkey.keycode == zKey_)) {
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
    const bool grabbable = press.keycode == spaceKey_ || press.keycode == zKey_;
    if (grabbable && findAnswered(press.time, press.keycode) != nullptr) return;  // already answered for the grab
    const TapAnswer answer = deliver(recordFor(press.keycode, keymap_->modifiers(), injected));
    if (grabbable) remember({press.time, press.keycode, answer, false});
}

void XInputEventTap::handleGrabbedPress(std::uint32_t keycode, std::uint32_t modifiers, unsigned long time) {
    TapAnswer answer = TapAnswer::pass;
    if (Answered* answered = findAnswered(time, keycode); answered != nullptr && !answered->byGrab) {
        answer = answered->answer;
        *answered = {};
    } else {
        // The raw event has not come (yet): ask now, and let the raw event know it was asked.
        answer = deliver(recordFor(keycode, modifiers, false));
        remember({time, keycode, answer, true});
    }
    // The server holds the keyboard until this answer.
    XAllowEvents(display_->get(), answer == TapAnswer::swallow ? AsyncKeyboard : ReplayKeyboard, time);
    display_->flush();
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
    const bool chord = (record.keyCode == virtual_key::kSpace && (record.flags & modifier_flag::kOption) != 0) ||
                       (record.keyCode == virtual_key::kZ && (record.flags & modifier_flag::kCommand) != 0 &&
                        undoGrab_.has_value());
    holdingKeyboard_ = chord;
    const TapAnswer answer = callback(record);
    holdingKeyboard_ = false;
    if (chord) heldUntil_ = std::chrono::steady_clock::now();
    return answer;
}

XInputEventTap::Answered* XInputEventTap::findAnswered(unsigned long time, std::uint32_t keycode) {
    for (Answered& answered : answered_) {
        if (answered.keycode == keycode && answered.time == time) return &answered;
    }
    return nullptr;
}

void XInputEventTap::remember(const Answered& answered) {
    answered_[nextAnswered_] = answered;
    nextAnswered_ = (nextAnswered_ + 1) % answered_.size();
}

}  // namespace tarvelo::desktop
