// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

namespace tarvelo::cli {

// The standard streams a command works with.
struct Io {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    // Standard error is a terminal, where a progress line can be rewritten in place.
    bool errIsTerminal = false;
};

// All of `in`, checked to be well-formed UTF-8. Throws CommandError (io when reading fails, badInput
// when the text is ill-formed, naming the offset of the first bad byte).
std::string readWellFormedInput(std::istream& in);

// All of the file at `path`, checked to be well-formed UTF-8. Throws CommandError (badInput when the
// file cannot be opened or read, or is ill-formed, naming the offset of the first bad byte): a file
// named on the command line that cannot be used is a mistake in the command line.
std::string readWellFormedFile(const std::string& path);

// Writes `text` and flushes. Throws CommandError (io) when the stream refuses it.
void writeOutput(std::ostream& out, std::string_view text);

// Replaces the file at `path` by `text`. Throws CommandError (io) when it cannot be written.
void writeFile(const std::string& path, std::string_view text);

}  // namespace tarvelo::cli
