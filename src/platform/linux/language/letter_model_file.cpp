// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/language/letter_model_file.h"

#include <array>
#include <charconv>
#include <set>

#include "text/utf8.h"

namespace tarvelo::desktop {
namespace {

std::string formatNumber(double value) {
    std::array<char, 64> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::fixed, 6);
    if (error != std::errc()) return "0.000000";
    std::string number(buffer.data(), end);
    // "-0.000000" and "0.000000" are the same number; write it one way.
    if (number == "-0.000000") number.erase(0, 1);
    return number;
}

std::optional<double> parseNumber(std::string_view text) {
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::vector<std::string_view> fields(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    while (start <= line.size()) {
        const std::size_t space = line.find(' ', start);
        const std::size_t end = space == std::string_view::npos ? line.size() : space;
        if (end > start) out.push_back(line.substr(start, end - start));
        if (space == std::string_view::npos) break;
        start = space + 1;
    }
    return out;
}

}  // namespace

std::optional<LetterModelFile> parseLetterModelFile(std::string_view text) {
    enum class Place { outside, header, words, reference };
    LetterModelFile file;
    Place place = Place::outside;
    LetterModelDescription* current = nullptr;
    bool hasAlphabet = false;
    bool hasCalibration = false;
    std::set<std::string> tags;

    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;

        if (line.empty()) continue;
        if (line.front() == '#') {
            if (file.languages.empty()) {
                std::string_view comment = line.substr(1);
                if (!comment.empty() && comment.front() == ' ') comment.remove_prefix(1);
                file.header.emplace_back(comment);
            }
            continue;
        }
        if (!text::isWellFormed(line)) return std::nullopt;
        const std::vector<std::string_view> parts = fields(line);
        // A line of spaces only is no line of the form.
        if (parts.empty()) return std::nullopt;

        if (place == Place::outside) {
            if (parts.size() != 2 || parts[0] != "language" || !tags.insert(std::string(parts[1])).second) {
                return std::nullopt;
            }
            current = &file.languages.emplace_back();
            current->tag = std::string(parts[1]);
            place = Place::header;
            hasAlphabet = false;
            hasCalibration = false;
        } else if (parts.size() == 1 && parts[0] == "end") {
            if (place != Place::reference) return std::nullopt;
            place = Place::outside;
        } else if (place == Place::header) {
            if (parts[0] == "alphabet" && parts.size() == 2 && !hasAlphabet) {
                current->alphabet = text::scalars(parts[1]);
                hasAlphabet = true;
            } else if (parts[0] == "fold" && parts.size() == 3) {
                current->foldFrom += text::scalars(parts[1]);
                current->foldTo += text::scalars(parts[2]);
                if (current->foldFrom.size() != current->foldTo.size()) return std::nullopt;
            } else if (parts[0] == "calibration" && parts.size() == 5 && !hasCalibration) {
                const auto ratio = parseNumber(parts[1]);
                const auto average = parseNumber(parts[2]);
                const auto intercept = parseNumber(parts[3]);
                const auto background = parseNumber(parts[4]);
                if (!ratio || !average || !intercept || !background) return std::nullopt;
                current->calibration = {*ratio, *average, *intercept, *background};
                hasCalibration = true;
            } else if (parts.size() == 1 && parts[0] == "words" && hasAlphabet && hasCalibration) {
                place = Place::words;
            } else {
                return std::nullopt;
            }
        } else if (place == Place::words && parts.size() == 1 && parts[0] == "reference") {
            place = Place::reference;
        } else {
            LetterTrigramCounts& counts = place == Place::words ? current->wordTrigrams : current->referenceTrigrams;
            if (!counts.addFormattedLine(line)) return std::nullopt;
        }
    }
    if (place != Place::outside) return std::nullopt;
    return file;
}

std::string formatLetterModelFile(const LetterModelFile& file) {
    std::string out;
    for (const std::string& comment : file.header) {
        out += comment.empty() ? "#" : "# " + comment;
        out += '\n';
    }
    for (const LetterModelDescription& language : file.languages) {
        out += "language " + language.tag + '\n';
        out += "alphabet " + text::fromScalars(language.alphabet) + '\n';
        if (!language.foldFrom.empty()) {
            out += "fold " + text::fromScalars(language.foldFrom) + ' ' + text::fromScalars(language.foldTo) + '\n';
        }
        const LetterModelCalibration& calibration = language.calibration;
        out += "calibration " + formatNumber(calibration.ratioWeight) + ' ' + formatNumber(calibration.averageWeight) +
               ' ' + formatNumber(calibration.intercept) + ' ' + formatNumber(calibration.backgroundLogWeight) + '\n';
        out += "words\n";
        out += language.wordTrigrams.format();
        out += "reference\n";
        out += language.referenceTrigrams.format();
        out += "end\n";
    }
    return out;
}

}  // namespace tarvelo::desktop
