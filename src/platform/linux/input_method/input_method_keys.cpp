// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/input_method/input_method_keys.h"

#include <glib.h>
#include <xkbcommon/xkbcommon.h>

#include <array>
#include <string_view>

#include "support/virtual_keys.h"
#include "text/utf8.h"

namespace tarvelo::desktop {
namespace {

// One physical key: its evdev code, its virtual key code, and what it types in each layout without and
// with Shift. A letter is a key whose two texts differ by case alone, which Caps Lock swaps.
struct KeyPosition {
    std::uint32_t evdev;
    std::uint16_t virtualKey;
    std::string_view us;
    std::string_view usShifted;
    std::string_view ru;
    std::string_view ruShifted;
};

constexpr std::array kPositions = {
    KeyPosition{2, 18, "1", "!", "1", "!"},     KeyPosition{3, 19, "2", "@", "2", "\""},
    KeyPosition{4, 20, "3", "#", "3", "№"},     KeyPosition{5, 21, "4", "$", "4", ";"},
    KeyPosition{6, 23, "5", "%", "5", "%"},     KeyPosition{7, 22, "6", "^", "6", ":"},
    KeyPosition{8, 26, "7", "&", "7", "?"},     KeyPosition{9, 28, "8", "*", "8", "*"},
    KeyPosition{10, 25, "9", "(", "9", "("},    KeyPosition{11, 29, "0", ")", "0", ")"},
    KeyPosition{12, 27, "-", "_", "-", "_"},    KeyPosition{13, 24, "=", "+", "=", "+"},
    KeyPosition{15, 48, "\t", "\t", "\t", "\t"},
    KeyPosition{16, 12, "q", "Q", "й", "Й"},    KeyPosition{17, 13, "w", "W", "ц", "Ц"},
    KeyPosition{18, 14, "e", "E", "у", "У"},    KeyPosition{19, 15, "r", "R", "к", "К"},
    KeyPosition{20, 17, "t", "T", "е", "Е"},    KeyPosition{21, 16, "y", "Y", "н", "Н"},
    KeyPosition{22, 32, "u", "U", "г", "Г"},    KeyPosition{23, 34, "i", "I", "ш", "Ш"},
    KeyPosition{24, 31, "o", "O", "щ", "Щ"},    KeyPosition{25, 35, "p", "P", "з", "З"},
    KeyPosition{26, 33, "[", "{", "х", "Х"},    KeyPosition{27, 30, "]", "}", "ъ", "Ъ"},
    KeyPosition{28, 36, "\r", "\r", "\r", "\r"},
    KeyPosition{30, 0, "a", "A", "ф", "Ф"},     KeyPosition{31, 1, "s", "S", "ы", "Ы"},
    KeyPosition{32, 2, "d", "D", "в", "В"},     KeyPosition{33, 3, "f", "F", "а", "А"},
    KeyPosition{34, 5, "g", "G", "п", "П"},     KeyPosition{35, 4, "h", "H", "р", "Р"},
    KeyPosition{36, 38, "j", "J", "о", "О"},    KeyPosition{37, 40, "k", "K", "л", "Л"},
    KeyPosition{38, 37, "l", "L", "д", "Д"},    KeyPosition{39, 41, ";", ":", "ж", "Ж"},
    KeyPosition{40, 39, "'", "\"", "э", "Э"},   KeyPosition{41, 50, "`", "~", "ё", "Ё"},
    KeyPosition{43, 42, "\\", "|", "\\", "/"},
    KeyPosition{44, 6, "z", "Z", "я", "Я"},     KeyPosition{45, 7, "x", "X", "ч", "Ч"},
    KeyPosition{46, 8, "c", "C", "с", "С"},     KeyPosition{47, 9, "v", "V", "м", "М"},
    KeyPosition{48, 11, "b", "B", "и", "И"},    KeyPosition{49, 45, "n", "N", "т", "Т"},
    KeyPosition{50, 46, "m", "M", "ь", "Ь"},    KeyPosition{51, 43, ",", "<", "б", "Б"},
    KeyPosition{52, 47, ".", ">", "ю", "Ю"},    KeyPosition{53, 44, "/", "?", ".", ","},
    KeyPosition{57, 49, " ", " ", " ", " "},
};

// Keys without text that still have a place of their own: Backspace, Escape and the function keys.
struct NamedKey {
    std::uint32_t evdev;
    std::uint16_t virtualKey;
};
constexpr std::array kNamedKeys = {
    NamedKey{14, virtual_key::kDelete}, NamedKey{1, 53},   NamedKey{59, 122}, NamedKey{60, 120},
    NamedKey{61, 99},                   NamedKey{62, 118}, NamedKey{63, 96},  NamedKey{64, 97},
    NamedKey{65, 98},                   NamedKey{66, 100}, NamedKey{67, 101}, NamedKey{68, 109},
    NamedKey{87, 103},                  NamedKey{88, 111},
};

bool isModifierKeyval(std::uint32_t keyval) {
    switch (keyval) {
        case XKB_KEY_Shift_L: case XKB_KEY_Shift_R: case XKB_KEY_Control_L: case XKB_KEY_Control_R:
        case XKB_KEY_Caps_Lock: case XKB_KEY_Shift_Lock: case XKB_KEY_Meta_L: case XKB_KEY_Meta_R:
        case XKB_KEY_Alt_L: case XKB_KEY_Alt_R: case XKB_KEY_Super_L: case XKB_KEY_Super_R:
        case XKB_KEY_Hyper_L: case XKB_KEY_Hyper_R: case XKB_KEY_ISO_Level3_Shift:
        case XKB_KEY_ISO_Level5_Shift: case XKB_KEY_ISO_Next_Group: case XKB_KEY_ISO_Prev_Group:
        case XKB_KEY_ISO_First_Group: case XKB_KEY_ISO_Last_Group: case XKB_KEY_Mode_switch:
        case XKB_KEY_Num_Lock: case XKB_KEY_Scroll_Lock:
            return true;
        default:
            return false;
    }
}

}  // namespace

const char* inputMethodLayoutName(InputMethodLayout layout) { return layout == InputMethodLayout::ru ? "ru" : "us"; }

std::string keysymText(std::uint32_t keysym) {
    std::string text;
    if (const std::uint32_t character = xkb_keysym_to_utf32(keysym); character != 0) {
        text::appendScalar(text, static_cast<char32_t>(character));
    }
    return text;
}

std::optional<KeyEventRecord> inputMethodKeyRecord(std::uint32_t keysym, std::uint32_t evdevCode, std::uint32_t state,
                                                   bool release, InputMethodLayout layout) {
    if (release || isModifierKeyval(keysym)) return std::nullopt;
    KeyEventRecord record;
    record.type = KeyEventRecord::kKeyDown;
    std::uint64_t flags = 0;
    if ((state & key_state::kShift) != 0) flags |= modifier_flag::kShift;
    if ((state & key_state::kControl) != 0) flags |= modifier_flag::kCommand;
    if ((state & key_state::kAlt) != 0) flags |= modifier_flag::kOption;
    if ((state & (key_state::kSuper | key_state::kMod4)) != 0) flags |= modifier_flag::kControl;
    record.flags = flags;
    record.keyCode = static_cast<std::uint16_t>(kInputMethodOtherKeyBase + (evdevCode & 0xFFFF));

    for (const NamedKey& key : kNamedKeys) {
        if (key.evdev == evdevCode) {
            record.keyCode = key.virtualKey;
            return record;
        }
    }
    for (const KeyPosition& key : kPositions) {
        if (key.evdev != evdevCode) continue;
        record.keyCode = key.virtualKey;
        const bool ru = layout == InputMethodLayout::ru;
        const std::string_view plain = ru ? key.ru : key.us;
        const std::string_view shifted = ru ? key.ruShifted : key.usShifted;
        bool shift = (state & key_state::kShift) != 0;
        // Caps Lock turns letters, and only letters, to capitals.
        const bool letter = plain != shifted && text::scalars(plain).size() == 1 &&
                            g_unichar_isalpha(static_cast<gunichar>(text::firstScalar(plain)));
        if (letter && (state & key_state::kLock) != 0) shift = !shift;
        record.characters = std::string(shift ? shifted : plain);
        return record;
    }
    const std::uint32_t character = xkb_keysym_to_utf32(keysym);
    if (character != 0 && g_unichar_isprint(static_cast<gunichar>(character))) {
        std::string text;
        text::appendScalar(text, static_cast<char32_t>(character));
        record.characters = std::move(text);
    }
    return record;
}

}  // namespace tarvelo::desktop
