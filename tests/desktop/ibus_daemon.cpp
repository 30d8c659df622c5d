// SPDX-License-Identifier: GPL-3.0-or-later
#include "ibus_daemon.h"

#include <ibus.h>
#include <signal.h>
#include <sys/wait.h>

#include <cstdlib>

#include "desktop_environment.h"

namespace tarvelo::desktop::testing {

IbusDaemon::IbusDaemon(const std::string& componentPath) {
    gchar* folder = g_dir_make_tmp("tarvelo-ibus-XXXXXX", nullptr);
    configHome_ = folder != nullptr ? folder : "";
    g_free(folder);
    setenv("XDG_CONFIG_HOME", configHome_.c_str(), 1);
    // The daemon keeps the components it found in a cache that it trusts while the folders it read are
    // unchanged, whatever IBUS_COMPONENT_PATH says now: a cache of its own.
    setenv("XDG_CACHE_HOME", configHome_.c_str(), 1);
    setenv("IBUS_COMPONENT_PATH", componentPath.c_str(), 1);
    setenv("GTK_IM_MODULE", "ibus", 1);
    setenv("QT_IM_MODULE", "ibus", 1);
    // GTK's IBus module hands keys over asynchronously unless told otherwise, and then offers the
    // surrounding text as it stood before the keys still on its way: keys pressed in one burst reach the
    // engine ahead of the text that shows them. At a person's pace both modes work; the synchronous one
    // is the default here, and IBUS_ENABLE_SYNC_MODE=0 in the environment runs the tests without it.
    setenv("IBUS_ENABLE_SYNC_MODE", "1", 0);
    unsetenv("IBUS_ADDRESS");
    start();
}

void IbusDaemon::start() {
    gchar* argv[] = {const_cast<gchar*>("ibus-daemon"), const_cast<gchar*>("--panel=disable"),
                     const_cast<gchar*>("--emoji-extension=disable"),
                     const_cast<gchar*>("--config=/usr/libexec/ibus-memconf"), const_cast<gchar*>("-r"), nullptr};
    GError* error = nullptr;
    if (!g_spawn_async(nullptr, argv, nullptr,
                       static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD), nullptr, nullptr,
                       &pid_, &error)) {
        failure_ = std::string("ibus-daemon did not start: ") + (error != nullptr ? error->message : "");
        g_clear_error(&error);
        return;
    }
    ibus_init();
    IBusBus* bus = ibus_bus_new();
    if (!iterateUntil([&] { return ibus_bus_is_connected(bus) != FALSE; }, 15.0)) failure_ = "no connection to ibus-daemon";
    g_object_unref(bus);
}

void IbusDaemon::stop() {
    if (pid_ == 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    g_spawn_close_pid(pid_);
    pid_ = 0;
}

bool IbusDaemon::restart() {
    stop();
    failure_.clear();
    start();
    return failure_.empty();
}

IbusDaemon::~IbusDaemon() {
    stop();
    if (!configHome_.empty()) {
        const std::string command = "rm -rf '" + configHome_ + "'";
        [[maybe_unused]] const int status = std::system(command.c_str());
    }
}

bool IbusDaemon::selectEngine(const char* engine) {
    IBusBus* bus = ibus_bus_new();
    struct Answer {
        bool done = false;
        bool set = false;
    } answer;
    ibus_bus_set_global_engine_async(
        bus, engine, -1, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            auto& reply = *static_cast<Answer*>(data);
            reply.set = ibus_bus_set_global_engine_async_finish(IBUS_BUS(source), result, nullptr) != FALSE;
            reply.done = true;
        },
        &answer);
    const bool answered = iterateUntil([&] { return answer.done; }, 10.0);
    g_object_unref(bus);
    return answered && answer.set;
}

}  // namespace tarvelo::desktop::testing
