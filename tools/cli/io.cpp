// SPDX-License-Identifier: GPL-3.0-or-later
#include "io.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <istream>
#include <memory>
#include <ostream>
#include <utility>

#include "command_error.h"
#include "text/utf8.h"

namespace tarvelo::cli {
namespace {

using File = std::unique_ptr<std::FILE, decltype(&std::fclose)>;

std::string quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

// `text`, unless it is ill-formed; `source` names where it came from in the message.
std::string wellFormedOrThrow(std::string text, const std::string& source) {
    if (const auto offset = text::firstIllFormedOffset(text)) {
        throw CommandError(ErrorKind::badInput, source + " is not well-formed UTF-8 (first bad byte at offset " +
                                                    std::to_string(*offset) + ")");
    }
    return text;
}

}  // namespace

std::string readWellFormedInput(std::istream& in) {
    std::string input;
    std::array<char, 64 * 1024> chunk;
    while (in.read(chunk.data(), chunk.size()) || in.gcount() > 0) {
        input.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) throw CommandError(ErrorKind::io, "cannot read standard input");
    return wellFormedOrThrow(std::move(input), "standard input");
}

std::string readWellFormedFile(const std::string& path) {
    const File file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) throw CommandError(ErrorKind::badInput, "cannot open " + quoted(path) + ": " + std::strerror(errno));
    std::string content;
    std::array<char, 64 * 1024> chunk;
    std::size_t read = 0;
    while ((read = std::fread(chunk.data(), 1, chunk.size(), file.get())) > 0) content.append(chunk.data(), read);
    if (std::ferror(file.get())) {
        throw CommandError(ErrorKind::badInput, "cannot read " + quoted(path) + ": " + std::strerror(errno));
    }
    return wellFormedOrThrow(std::move(content), quoted(path));
}

void writeOutput(std::ostream& out, std::string_view text) {
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    if (!out) throw CommandError(ErrorKind::io, "cannot write standard output");
}

void writeFile(const std::string& path, std::string_view text) {
    File file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file) throw CommandError(ErrorKind::io, "cannot create " + quoted(path) + ": " + std::strerror(errno));
    const bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
    // fclose flushes, so its answer is part of whether the file was written.
    if (!written || std::fclose(file.release()) != 0) {
        throw CommandError(ErrorKind::io, "cannot write " + quoted(path) + ": " + std::strerror(errno));
    }
}

}  // namespace tarvelo::cli
