// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/key_chord.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace tarvelo::key_chord {
namespace {

struct NamedKey {
    std::string_view name;
    std::uint16_t keyCode;
};

// Virtual key codes by physical position (the positions of a US keyboard's keys).
constexpr std::array<NamedKey, 49> kKeys{{
    {"Space", 49}, {"A", 0},   {"B", 11},  {"C", 8},   {"D", 2},    {"E", 14},   {"F", 3},    {"G", 5},
    {"H", 4},      {"I", 34},  {"J", 38},  {"K", 40},  {"L", 37},   {"M", 46},   {"N", 45},   {"O", 31},
    {"P", 35},     {"Q", 12},  {"R", 15},  {"S", 1},   {"T", 17},   {"U", 32},   {"V", 9},    {"W", 13},
    {"X", 7},      {"Y", 16},  {"Z", 6},   {"0", 29},  {"1", 18},   {"2", 19},   {"3", 20},   {"4", 21},
    {"5", 23},     {"6", 22},  {"7", 26},  {"8", 28},  {"9", 25},   {"F1", 122}, {"F2", 120}, {"F3", 99},
    {"F4", 118},   {"F5", 96}, {"F6", 97}, {"F7", 98}, {"F8", 100}, {"F9", 101}, {"F10", 109}, {"F11", 103},
    {"F12", 111},
}};

struct NamedModifier {
    std::string_view name;
    std::uint64_t flag;
};

constexpr std::array<NamedModifier, 4> kModifiers{{
    {"Ctrl", modifier_flag::kCommand},
    {"Alt", modifier_flag::kOption},
    {"Shift", modifier_flag::kShift},
    {"Super", modifier_flag::kControl},
}};

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

std::string_view keyName(std::uint16_t keyCode) {
    for (const NamedKey& key : kKeys) {
        if (key.keyCode == keyCode) return key.name;
    }
    return {};
}

bool isFunctionKey(std::uint16_t keyCode) {
    const std::string_view name = keyName(keyCode);
    return name.size() >= 2 && name[0] == 'F';
}

const std::vector<std::uint16_t>& chordKeys() {
    static const std::vector<std::uint16_t> keys = [] {
        std::vector<std::uint16_t> codes;
        for (const NamedKey& key : kKeys) codes.push_back(key.keyCode);
        return codes;
    }();
    return keys;
}

std::optional<Problem> problem(const KeyChord& chord) {
    if (keyName(chord.keyCode).empty() || (chord.modifiers & ~kAllModifiers) != 0) return Problem::unknownKey;
    const std::uint64_t holding = modifier_flag::kCommand | modifier_flag::kOption | modifier_flag::kControl;
    if ((chord.modifiers & holding) == 0 && !isFunctionKey(chord.keyCode)) return Problem::needsModifier;
    return std::nullopt;
}

std::vector<std::string> parts(const KeyChord& chord) {
    std::vector<std::string> names;
    for (const NamedModifier& modifier : kModifiers) {
        if ((chord.modifiers & modifier.flag) != 0) names.emplace_back(modifier.name);
    }
    names.emplace_back(keyName(chord.keyCode));
    return names;
}

std::string format(const KeyChord& chord) {
    std::string text;
    for (const std::string& part : parts(chord)) {
        if (!text.empty()) text += '+';
        text += part;
    }
    return text;
}

std::optional<KeyChord> fromParts(const std::vector<std::string>& names) {
    KeyChord chord;
    bool hasKey = false;
    for (const std::string& name : names) {
        const auto modifier = std::find_if(kModifiers.begin(), kModifiers.end(),
                                           [&](const NamedModifier& m) { return sameName(m.name, name); });
        if (modifier != kModifiers.end()) {
            if ((chord.modifiers & modifier->flag) != 0) return std::nullopt;
            chord.modifiers |= modifier->flag;
            continue;
        }
        const auto key =
            std::find_if(kKeys.begin(), kKeys.end(), [&](const NamedKey& k) { return sameName(k.name, name); });
        if (key == kKeys.end() || hasKey) return std::nullopt;
        chord.keyCode = key->keyCode;
        hasKey = true;
    }
    if (!hasKey || problem(chord)) return std::nullopt;
    return chord;
}

std::optional<KeyChord> parse(std::string_view text) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (true) {
        const std::size_t plus = text.find('+', start);
        names.emplace_back(text.substr(start, plus == std::string_view::npos ? std::string_view::npos : plus - start));
        if (plus == std::string_view::npos) break;
        start = plus + 1;
    }
    return fromParts(names);
}

bool matches(const KeyChord& chord, std::uint16_t keyCode, std::uint64_t flags) {
    if (keyCode != chord.keyCode) return false;
    const std::uint64_t exact = modifier_flag::kCommand | modifier_flag::kOption;
    if ((flags & exact) != (chord.modifiers & exact)) return false;
    const std::uint64_t ifHeld = modifier_flag::kShift | modifier_flag::kControl;
    return (flags & chord.modifiers & ifHeld) == (chord.modifiers & ifHeld);
}

}  // namespace tarvelo::key_chord
