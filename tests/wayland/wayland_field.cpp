// SPDX-License-Identifier: GPL-3.0-or-later
#include "wayland_field.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <glib.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "marked_text.h"

extern char** environ;

namespace tarvelo::wayland::testing {
namespace {

using tarvelo::desktop::testing::escapeLine;
using tarvelo::desktop::testing::parseMarked;
using tarvelo::desktop::testing::unescapeLine;

constexpr int kStartTimeout = 20000;
constexpr int kAnswerTimeout = 5000;
// After the compositor focuses the window, the toolkit enables text input and the shell focuses an input
// context in IBus: all asynchronous, none of it visible to the field, and keys sent meanwhile need not
// reach the input method.
constexpr useconds_t kInputMethodSettle = 500 * 1000;

// The folder of the field programs: apps/ next to this test program, so that a copy of the test's
// folder (scripts/gnome-session makes one when the session's user cannot reach the build) still works.
std::string appsDirectory() {
    std::vector<char> path(4096);
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (length <= 0) return "apps";
    std::string executable(path.data(), static_cast<std::size_t>(length));
    return executable.substr(0, executable.rfind('/')) + "/apps";
}

// This process's environment with `settings` ("NAME=value") in place of what it had under those names;
// a setting without "=" removes the variable.
std::vector<std::string> environmentWith(const std::vector<std::string>& settings) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view text(*entry);
        bool replaced = false;
        for (const std::string& setting : settings) {
            const std::string name = setting.substr(0, setting.find('=')) + '=';
            if (text.substr(0, name.size()) == name) replaced = true;
        }
        if (!replaced) entries.emplace_back(text);
    }
    for (const std::string& setting : settings) {
        if (setting.find('=') != std::string::npos) entries.push_back(setting);
    }
    return entries;
}

}  // namespace

const char* toolkitName(Toolkit toolkit) {
    switch (toolkit) {
        case Toolkit::gtk3:
            return "gtk3";
        case Toolkit::gtk4:
            return "gtk4";
        case Toolkit::qt6:
            return "qt6";
    }
    return "?";
}

std::unique_ptr<WaylandField> WaylandField::start(const Options& options, std::string& failure,
                                                  const std::string& programName) {
    const char* program = options.toolkit == Toolkit::gtk3   ? "gtk_text_field"
                          : options.toolkit == Toolkit::gtk4 ? "gtk4_text_field"
                                                             : "qt_text_field";
    std::vector<std::string> arguments{appsDirectory() + "/" + program};
    std::string copyDirectory;
    if (!programName.empty()) {
        gchar* made = g_dir_make_tmp("tarvelo-field-XXXXXX", nullptr);
        if (made == nullptr) {
            failure = "cannot make a folder for the program's copy";
            return nullptr;
        }
        copyDirectory = made;
        g_free(made);
        const std::string copy = copyDirectory + "/" + programName;
        std::error_code error;
        std::filesystem::copy_file(arguments[0], copy, error);
        if (error) {
            failure = "cannot copy " + arguments[0] + ": " + error.message();
            std::filesystem::remove_all(copyDirectory, error);
            return nullptr;
        }
        arguments[0] = copy;
    }
    // Whatever way start() returns without a field, the copy goes.
    auto removeCopy = [&] {
        std::error_code ignored;
        if (!copyDirectory.empty()) std::filesystem::remove_all(copyDirectory, ignored);
    };
    if (options.password) arguments.emplace_back("--password");
    std::vector<std::string> environment = environmentWith({
        "GDK_BACKEND=wayland",
        "QT_QPA_PLATFORM=wayland",
        "GTK_IM_MODULE=wayland",
        // Without a module named, Qt on Wayland uses the compositor's text-input.
        options.desktop == Desktop::gnome ? "QT_IM_MODULE=ibus" : "QT_IM_MODULE",
        "XMODIFIERS",
        "DISPLAY",
    });
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);

    int toChild[2];
    int fromChild[2];
    if (pipe2(toChild, O_CLOEXEC) != 0) {
        failure = std::string("pipe: ") + std::strerror(errno);
        removeCopy();
        return nullptr;
    }
    if (pipe2(fromChild, O_CLOEXEC) != 0) {
        failure = std::string("pipe: ") + std::strerror(errno);
        close(toChild[0]);
        close(toChild[1]);
        removeCopy();
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
        removeCopy();
        return nullptr;
    }
    std::unique_ptr<WaylandField> field(new WaylandField(pid, toChild[1], fromChild[0], copyDirectory));
    const std::optional<std::string> first = field->readLine(kStartTimeout);
    if (first != "ready") {
        failure = std::string(argv[0]) + " did not get the keyboard focus" + (first ? ": said " + *first : "");
        return nullptr;
    }
    usleep(kInputMethodSettle);
    return field;
}

WaylandField::~WaylandField() {
    close(input_);
    close(output_);
    kill(pid_, SIGTERM);
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    std::error_code ignored;
    if (!copyDirectory_.empty()) std::filesystem::remove_all(copyDirectory_, ignored);
}

bool WaylandField::setMarkedText(std::string_view marked) {
    return send("set " + escapeLine(marked)) && readLine(kAnswerTimeout) == "ok";
}

bool WaylandField::saveScreenshot(const std::string& path) {
    return send("shot " + path) && readLine(kAnswerTimeout) == "ok";
}

std::optional<std::string> WaylandField::markedText() {
    if (!send("dump")) return std::nullopt;
    const std::optional<std::string> line = readLine(kAnswerTimeout);
    if (!line || line->rfind("text ", 0) != 0) return std::nullopt;
    return unescapeLine(std::string_view(*line).substr(5));
}

std::optional<std::string> WaylandField::text() {
    const std::optional<std::string> marked = markedText();
    if (!marked) return std::nullopt;
    return parseMarked(*marked).text;
}

std::optional<std::string> WaylandField::textWhenItReads(std::string_view expected, int milliseconds) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    std::optional<std::string> current = text();
    while (current && *current != expected && std::chrono::steady_clock::now() < limit) {
        usleep(20 * 1000);
        current = text();
    }
    return current;
}

bool WaylandField::send(std::string_view line) {
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

std::optional<std::string> WaylandField::readLine(int milliseconds) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (received_.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(limit - std::chrono::steady_clock::now());
        if (left.count() <= 0) return std::nullopt;
        pollfd readable{output_, POLLIN, 0};
        const int ready = poll(&readable, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return std::nullopt;
        char buffer[4096];
        const ssize_t count = read(output_, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return std::nullopt;
        received_.append(buffer, static_cast<std::size_t>(count));
    }
    const std::size_t end = received_.find('\n');
    std::string line = received_.substr(0, end);
    received_.erase(0, end + 1);
    return line;
}

}  // namespace tarvelo::wayland::testing
