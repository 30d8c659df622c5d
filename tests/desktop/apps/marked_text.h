// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The line protocol of the text-field programs, shared by the programs and the tests that drive them.
// A field's content travels as marked text: "|" marks the caret, two "|" mark a selection
// ("ab|cd" or "a|bc|d"). On the wire a backslash is written "\\" and a line break "\n", so that every
// message is one line.
namespace tarvelo::desktop::testing {

// A field's text with its selection as byte offsets into `text` (equal offsets: the caret).
struct MarkedText {
    std::string text;
    std::size_t selectionStart = 0;
    std::size_t selectionEnd = 0;
};

inline MarkedText parseMarked(std::string_view marked) {
    MarkedText result;
    const std::size_t first = marked.find('|');
    if (first == std::string_view::npos) {
        result.text = std::string(marked);
        result.selectionStart = result.selectionEnd = result.text.size();
        return result;
    }
    const std::size_t second = marked.find('|', first + 1);
    result.text = std::string(marked.substr(0, first));
    result.selectionStart = result.text.size();
    if (second != std::string_view::npos) result.text += marked.substr(first + 1, second - first - 1);
    result.selectionEnd = result.text.size();
    result.text += marked.substr(second == std::string_view::npos ? first + 1 : second + 1);
    return result;
}

inline std::string formatMarked(std::string_view text, std::size_t selectionStart, std::size_t selectionEnd) {
    std::string marked(text.substr(0, selectionStart));
    marked += '|';
    if (selectionEnd > selectionStart) {
        marked += text.substr(selectionStart, selectionEnd - selectionStart);
        marked += '|';
    }
    marked += text.substr(selectionEnd);
    return marked;
}

inline std::string escapeLine(std::string_view text) {
    std::string line;
    for (const char c : text) {
        if (c == '\\') {
            line += "\\\\";
        } else if (c == '\n') {
            line += "\\n";
        } else {
            line += c;
        }
    }
    return line;
}

inline std::string unescapeLine(std::string_view line) {
    std::string text;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            ++i;
            text += line[i] == 'n' ? '\n' : line[i];
        } else {
            text += line[i];
        }
    }
    return text;
}

}  // namespace tarvelo::desktop::testing
