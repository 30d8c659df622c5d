#include "io.h"

#include <array>
#include <istream>
#include <ostream>

#include "command_error.h"
#include "text/utf8.h"

namespace tarvelo::cli {

std::string readWellFormedInput(std::istream& in) {
    std::string input;
    std::array<char, 64 * 1024> chunk;
    while (in.read(chunk.data(), chunk.size()) || in.gcount() > 0) {
        input.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) throw CommandError(ErrorKind::io, "cannot read standard input");
    if (const auto offset = text::firstIllFormedOffset(input)) {
        throw CommandError(ErrorKind::badInput, "standard input is not well-formed UTF-8 (first bad byte at offset " +
                                                    std::to_string(*offset) + ")");
    }
    return input;
}

void writeOutput(std::ostream& out, std::string_view text) {
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    if (!out) throw CommandError(ErrorKind::io, "cannot write standard output");
}

}  // namespace tarvelo::cli
