# SPDX-License-Identifier: GPL-3.0-or-later
# Writes a C++ source that defines `std::string_view NAMESPACE::FUNCTION()` returning the bytes of INPUT.
# Run as a script: cmake -DINPUT=... -DOUTPUT=... -DHEADER=... -DNAMESPACE=... -DFUNCTION=... -P embed_text.cmake
#
# The bytes become an array of numbers rather than one string literal: compilers need not accept
# literals longer than 64 KiB, and -Wpedantic says so.

foreach(variable INPUT OUTPUT HEADER NAMESPACE FUNCTION)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "embed_text.cmake needs -D${variable}=...")
  endif()
endforeach()

file(READ "${INPUT}" bytes HEX)
string(LENGTH "${bytes}" digits)
if(digits EQUAL 0)
  message(FATAL_ERROR "${INPUT} is empty")
endif()
# Sixteen bytes to a line, so that the generated source has lines of ordinary length.
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
string(REPEAT "0x[0-9a-f][0-9a-f]," 16 line_of_bytes)
string(REGEX REPLACE "(${line_of_bytes})" "\\1\n" bytes "${bytes}")
get_filename_component(input_name "${INPUT}" NAME)

file(WRITE "${OUTPUT}.tmp" "// Generated from ${input_name} by cmake/embed_text.cmake when the program is built; do not edit.
#include \"${HEADER}\"

namespace {

constexpr unsigned char kBytes[] = {
${bytes}
};

}  // namespace

namespace ${NAMESPACE} {

std::string_view ${FUNCTION}() { return {reinterpret_cast<const char*>(kBytes), sizeof kBytes}; }

}  // namespace ${NAMESPACE}
")
# Only a changed text touches the source, so a rebuild does not recompile it needlessly.
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
