// SPDX-License-Identifier: GPL-3.0-or-later
#include "text_field_program.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "apps/marked_text.h"
#include "desktop_environment.h"

extern char** environ;

namespace tarvelo::desktop::testing {
namespace {

constexpr double kStartTimeout = 20.0;
constexpr double kAnswerTimeout = 5.0;

// The environment of this process without the variables named in `unset`.
std::vector<std::string> environmentWithout(const std::vector<std::string>& unset) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view text(*entry);
        bool keep = true;
        for (const std::string& name : unset) {
            const bool named = text.size() > name.size() && text.substr(0, name.size()) == name;
            if (named && text[name.size()] == '=') keep = false;
        }
        if (keep) entries.emplace_back(text);
    }
    return entries;
}

}  // namespace

const char* toolkitName(Toolkit toolkit) { return toolkit == Toolkit::gtk ? "gtk" : "qt"; }

const char* fieldKindName(FieldKind kind) {
    switch (kind) {
        case FieldKind::singleLine:
            return "line";
        case FieldKind::multiLine:
            return "area";
        case FieldKind::password:
            return "password";
        case FieldKind::readOnly:
            return "read_only";
        case FieldKind::limited:
            return "limited";
        case FieldKind::keysOnly:
            return "keys_only";
    }
    return "?";
}

std::unique_ptr<TextFieldProgram> TextFieldProgram::start(const Options& options, std::string& failure) {
    std::vector<std::string> arguments{std::string(TARVELO_TEST_APPS_DIR) + "/" +
                                       (options.toolkit == Toolkit::gtk ? "gtk_text_field" : "qt_text_field")};
    if (options.kind == FieldKind::multiLine) arguments.emplace_back("--multi-line");
    if (options.kind == FieldKind::password) arguments.emplace_back("--password");
    if (options.kind == FieldKind::readOnly) arguments.emplace_back("--read-only");
    if (options.kind == FieldKind::limited) arguments.push_back("--max-length=" + std::to_string(kLimitedLength));
    if (options.kind == FieldKind::keysOnly) {
        if (options.toolkit != Toolkit::qt) {
            failure = "only the Qt field can be made keys-only";
            return nullptr;
        }
        arguments.emplace_back("--keys-only");
    }
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<std::string> environment = environmentWithout(options.unsetEnvironment);
    std::vector<char*> envp;
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);

    int toChild[2];
    int fromChild[2];
    if (pipe2(toChild, O_CLOEXEC) != 0) {
        failure = std::string("pipe: ") + std::strerror(errno);
        return nullptr;
    }
    if (pipe2(fromChild, O_CLOEXEC) != 0) {
        failure = std::string("pipe: ") + std::strerror(errno);
        close(toChild[0]);
        close(toChild[1]);
        return nullptr;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(toChild[0]);
    close(fromChild[1]);
    if (spawned != 0) {
        failure = std::string("cannot start ") + argv[0] + ": " + std::strerror(spawned);
        close(toChild[1]);
        close(fromChild[0]);
        return nullptr;
    }
    fcntl(fromChild[0], F_SETFL, fcntl(fromChild[0], F_GETFL) | O_NONBLOCK);
    std::unique_ptr<TextFieldProgram> program(new TextFieldProgram(pid, toChild[1], fromChild[0]));
    const std::optional<std::string> first = program->readLine(kStartTimeout);
    if (first != "ready") {
        failure = std::string(argv[0]) + " did not get keyboard focus" + (first ? ": said " + *first : "");
        return nullptr;
    }
    return program;
}

TextFieldProgram::~TextFieldProgram() {
    close(input_);
    close(output_);
    kill(pid_, SIGTERM);
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
}

bool TextFieldProgram::setMarkedText(std::string_view marked) {
    return send("set " + escapeLine(marked)) && readLine(kAnswerTimeout) == "ok";
}

std::optional<std::string> TextFieldProgram::markedText() {
    if (!send("dump")) return std::nullopt;
    const std::optional<std::string> line = readLine(kAnswerTimeout);
    if (!line || line->rfind("text ", 0) != 0) return std::nullopt;
    return unescapeLine(std::string_view(*line).substr(5));
}

bool TextFieldProgram::send(std::string_view line) {
    std::string message(line);
    message += '\n';
    std::size_t written = 0;
    while (written < message.size()) {
        const ssize_t count = write(input_, message.data() + written, message.size() - written);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return false;
        written += static_cast<std::size_t>(count);
    }
    return true;
}

std::optional<std::string> TextFieldProgram::readLine(double seconds) {
    bool closed = false;
    const auto haveLine = [&] {
        if (received_.find('\n') != std::string::npos) return true;
        char buffer[4096];
        const ssize_t count = read(output_, buffer, sizeof buffer);
        if (count > 0) received_.append(buffer, static_cast<std::size_t>(count));
        if (count == 0) closed = true;
        return received_.find('\n') != std::string::npos || closed;
    };
    if (!iterateUntil(haveLine, seconds)) return std::nullopt;
    const std::size_t end = received_.find('\n');
    if (end == std::string::npos) return std::nullopt;
    std::string line = received_.substr(0, end);
    received_.erase(0, end + 1);
    return line;
}

}  // namespace tarvelo::desktop::testing
