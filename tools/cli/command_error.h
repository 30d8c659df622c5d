// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

namespace tarvelo::cli {

// Exit statuses of tarvelo-cli.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;  // standard input could not be read or the output not written
inline constexpr int kExitUsage = 2;    // bad command line, or input that is not well-formed UTF-8

// Why a command stopped before it wrote anything.
enum class ErrorKind {
    usage,     // the command line asks for something the command does not offer
    badInput,  // the input text cannot be processed as it stands
    io,        // reading standard input or writing standard output failed
};

// Thrown by a command to stop it; main reports the message on standard error and exits with
// exitStatus(kind()). Commands check everything before they write, so nothing is half-written.
class CommandError : public std::runtime_error {
public:
    CommandError(ErrorKind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}

    ErrorKind kind() const { return kind_; }

private:
    ErrorKind kind_;
};

inline int exitStatus(ErrorKind kind) { return kind == ErrorKind::io ? kExitFailure : kExitUsage; }

}  // namespace tarvelo::cli
