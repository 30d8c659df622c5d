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
};

// All of `in`, checked to be well-formed UTF-8. Throws CommandError (io when reading fails, badInput
// when the text is ill-formed, naming the offset of the first bad byte).
std::string readWellFormedInput(std::istream& in);

// Writes `text` and flushes. Throws CommandError (io) when the stream refuses it.
void writeOutput(std::ostream& out, std::string_view text);

}  // namespace tarvelo::cli
