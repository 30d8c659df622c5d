// SPDX-License-Identifier: GPL-3.0-or-later
#include "simulation_script.h"

#include <charconv>
#include <cmath>

#include "command_error.h"

namespace tarvelo::cli {
namespace {

[[noreturn]] void badEscape(std::string_view escape, std::string_view why) {
    throw CommandError(ErrorKind::badInput, "{" + std::string(escape) + "}: " + std::string(why));
}

std::string_view argumentOf(std::string_view escape, std::string_view name) {
    std::string_view rest = escape.substr(name.size());
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    return rest;
}

template <typename Number>
Number parseNumber(std::string_view escape, std::string_view text, std::string_view what) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) badEscape(escape, what);
    return value;
}

Step parseEscape(std::string_view escape) {
    using step::Chord;
    if (escape == "delete" || escape == "backspace") return step::Press{Chord::deleteKey};
    if (escape == "alt+space") return step::Press{Chord::convertSelection};
    if (escape == "ctrl+alt+space") return step::Press{Chord::convertLastWord};
    if (escape == "ctrl+z") return step::Press{Chord::undo};
    if (escape == "ctrl+c") return step::Press{Chord::copy};
    if (escape == "enter") return step::Type{"\n"};
    if (escape == "tab") return step::Type{"\t"};
    if (escape == "password") return step::FocusPassword{};
    if (escape == "field") return step::FocusField{};
    if (escape == "nothing") return step::FocusNothing{};
    if (escape.starts_with("wait")) {
        const std::string_view value = argumentOf(escape, "wait");
        const auto seconds = parseNumber<double>(escape, value, "expected {wait SECONDS}, SECONDS from 0 to 86400");
        if (!std::isfinite(seconds) || seconds < 0 || seconds > 86400) {
            badEscape(escape, "expected {wait SECONDS}, SECONDS from 0 to 86400");
        }
        return step::Wait{seconds};
    }
    if (escape.starts_with("select")) {
        const std::string_view value = argumentOf(escape, "select");
        return step::Select{parseNumber<std::size_t>(escape, value, "expected {select N}, N a whole number")};
    }
    if (escape.starts_with("app")) {
        const std::string_view name = argumentOf(escape, "app");
        if (name.empty()) return step::SwitchApplication{std::nullopt};
        return step::SwitchApplication{std::string(name)};
    }
    badEscape(escape, "unknown key or action; see 'tarvelo-cli simulate --help'");
}

}  // namespace

std::vector<Step> parseSimulationLine(std::string_view line) {
    std::vector<Step> steps;
    std::string text;
    const auto flushText = [&] {
        if (!text.empty()) steps.emplace_back(step::Type{std::move(text)});
        text.clear();
    };
    for (std::size_t i = 0; i < line.size();) {
        if (line[i] != '{') {
            text.push_back(line[i++]);
            continue;
        }
        if (i + 1 < line.size() && line[i + 1] == '{') {
            text.push_back('{');
            i += 2;
            continue;
        }
        const std::size_t close = line.find('}', i);
        if (close == std::string_view::npos) {
            throw CommandError(ErrorKind::badInput, "'{' without '}' (type '{{' for a brace)");
        }
        flushText();
        steps.push_back(parseEscape(line.substr(i + 1, close - i - 1)));
        i = close + 1;
    }
    flushText();
    return steps;
}

}  // namespace tarvelo::cli
