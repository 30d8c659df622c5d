#include "io.h"

#include <array>
#include <istream>
#include <ostream>

#include "command_error.h"
#include "text/utf8.h"

namespace tarvelo::cli {
namespace {

// The byte offset of the first ill-formed subsequence of `text`; text.size() when there is none. A
// replacement character that is really in the text (EF BF BD) is well-formed and passes.
std::size_t firstIllFormedOffset(std::string_view text) {
    constexpr std::string_view kEncodedReplacement = "\xEF\xBF\xBD";
    for (std::size_t offset = 0; offset < text.size();) {
        const text::DecodedScalar decoded = text::decodeScalar(text, offset);
        if (decoded.scalar == text::kReplacementCharacter && text.substr(offset, 3) != kEncodedReplacement) {
            return offset;
        }
        offset += decoded.length;
    }
    return text.size();
}

}  // namespace

std::string readWellFormedInput(std::istream& in) {
    std::string input;
    std::array<char, 64 * 1024> chunk;
    while (in.read(chunk.data(), chunk.size()) || in.gcount() > 0) {
        input.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) throw CommandError(ErrorKind::io, "cannot read standard input");
    if (!text::isWellFormed(input)) {
        throw CommandError(ErrorKind::badInput, "standard input is not well-formed UTF-8 (first bad byte at offset " +
                                                    std::to_string(firstIllFormedOffset(input)) + ")");
    }
    return input;
}

void writeOutput(std::ostream& out, std::string_view text) {
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    if (!out) throw CommandError(ErrorKind::io, "cannot write standard output");
}

}  // namespace tarvelo::cli
