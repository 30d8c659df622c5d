// SPDX-License-Identifier: GPL-3.0-or-later
#include "gnome_session.h"

#include <gio/gio.h>
#include <linux/input-event-codes.h>

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <regex>

#include "tarvelo_configuration.h"

namespace tarvelo::wayland::testing {
namespace {

constexpr gint64 kSwitchTimeout = 10 * G_USEC_PER_SEC;
// After IBus has the engine the shell has its keymap too; this margin covers the order of the two.
constexpr gulong kKeymapSettle = 300 * 1000;

bool waitForEngine(const std::string& wanted, std::string& failure) {
    const gint64 limit = g_get_monotonic_time() + kSwitchTimeout;
    std::string engine;
    while ((engine = activeIbusEngine()) != wanted) {
        if (g_get_monotonic_time() >= limit) {
            failure = "the shell did not activate " + wanted + " (IBus's engine: " + (engine.empty() ? "none" : engine) +
                      ")";
            return false;
        }
        g_usleep(50 * 1000);
    }
    g_usleep(kKeymapSettle);
    return true;
}

// The program the build's component has IBus start, or why it cannot be run by this session's user
// (the one ibus-daemon runs as): the session would fall back to passing keys and every case would fail
// without saying why.
std::string componentProgramProblem() {
    const char* folders = std::getenv("IBUS_COMPONENT_PATH");
    if (folders == nullptr) return "IBUS_COMPONENT_PATH is not set: the session has no Tarvelo engine";
    const std::string first = std::string(folders).substr(0, std::string(folders).find(':'));
    std::ifstream file(first + "/tarvelo.xml");
    if (!file) return "cannot read " + first + "/tarvelo.xml (IBUS_COMPONENT_PATH's first folder)";
    const std::string description{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::smatch exec;
    if (!std::regex_search(description, exec, std::regex("<exec>([^ <]+)[^<]*</exec>"))) {
        return first + "/tarvelo.xml names no program";
    }
    if (access(exec[1].str().c_str(), X_OK) != 0) {
        return "the session's user cannot run " + exec[1].str() + ", the component's program";
    }
    return {};
}

}  // namespace

std::string activeIbusEngine() {
    gchar* output = nullptr;
    gint status = 0;
    const gchar* argv[] = {"ibus", "engine", nullptr};
    if (!g_spawn_sync(nullptr, const_cast<gchar**>(argv), nullptr, static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_STDERR_TO_DEV_NULL),
                      nullptr, nullptr, &output, nullptr, &status, nullptr)) {
        return {};
    }
    std::unique_ptr<gchar, decltype(&g_free)> owned(output, g_free);
    if (!g_spawn_check_wait_status(status, nullptr) || output == nullptr) return {};
    return g_strstrip(output);
}

bool selectInputSources(const std::vector<InputSource>& sources, std::string& failure) {
    if (sources.empty()) {
        failure = "no input source to select";
        return false;
    }
    GVariantBuilder list;
    g_variant_builder_init(&list, G_VARIANT_TYPE("a(ss)"));
    for (const InputSource& source : sources) {
        g_variant_builder_add(&list, "(ss)", source.first.c_str(), source.second.c_str());
    }
    std::unique_ptr<GSettings, decltype(&g_object_unref)> settings(g_settings_new("org.gnome.desktop.input-sources"),
                                                                   g_object_unref);
    // The shell activates the most recently used source that is still listed: only the wanted one is
    // recorded as used, so that it is the one.
    GVariantBuilder used;
    g_variant_builder_init(&used, G_VARIANT_TYPE("a(ss)"));
    g_variant_builder_add(&used, "(ss)", sources.front().first.c_str(), sources.front().second.c_str());
    if (!g_settings_set_value(settings.get(), "mru-sources", g_variant_builder_end(&used)) ||
        !g_settings_set_value(settings.get(), "sources", g_variant_builder_end(&list))) {
        failure = "org.gnome.desktop.input-sources refused the sources";
        return false;
    }
    g_settings_sync();
    if (sources.front().first != "ibus") {
        g_usleep(kKeymapSettle);
        return true;
    }
    return waitForEngine(sources.front().second, failure);
}

bool switchInputSource(Keyboard& keyboard, const std::string& engine, std::string& failure) {
    if (!keyboard.tap(KEY_SPACE, {KEY_LEFTMETA})) {
        failure = "Super+Space refused: " + keyboard.lastError();
        return false;
    }
    return waitForEngine(engine, failure);
}

bool prepareTarveloEngines(std::string& failure, const std::vector<std::string>& switchedOn) {
    failure = componentProgramProblem();
    return failure.empty() && writeTarveloSettings(switchedOn, failure);
}

std::vector<InputSource> inputSources() {
    // Read by a process of its own: this one's settings backend would answer from what it last saw of
    // the file, which lags behind other processes' writes until its main context runs.
    gchar* output = nullptr;
    gint status = 0;
    const gchar* argv[] = {"gsettings", "get", "org.gnome.desktop.input-sources", "sources", nullptr};
    std::vector<InputSource> sources;
    if (!g_spawn_sync(nullptr, const_cast<gchar**>(argv), nullptr,
                      static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_STDERR_TO_DEV_NULL), nullptr, nullptr,
                      &output, nullptr, &status, nullptr)) {
        return sources;
    }
    std::unique_ptr<gchar, decltype(&g_free)> owned(output, g_free);
    if (!g_spawn_check_wait_status(status, nullptr) || output == nullptr) return sources;
    GVariant* value = g_variant_parse(G_VARIANT_TYPE("a(ss)"), output, nullptr, nullptr, nullptr);
    if (value == nullptr) return sources;
    GVariantIter iter;
    g_variant_iter_init(&iter, value);
    const gchar* type = nullptr;
    const gchar* id = nullptr;
    while (g_variant_iter_next(&iter, "(&s&s)", &type, &id)) sources.emplace_back(type, id);
    g_variant_unref(value);
    return sources;
}

bool waitForIbusEngine(const std::string& engine, std::string& failure) { return waitForEngine(engine, failure); }

}  // namespace tarvelo::wayland::testing
