// SPDX-License-Identifier: GPL-3.0-or-later
#include "tarvelo_configuration.h"

#include <glib.h>

#include <cstdlib>
#include <fstream>

namespace tarvelo::wayland::testing {

bool writeTarveloSettings(const std::vector<std::string>& switchedOn, std::string& failure) {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config == nullptr || *config == '\0') {
        failure = "no XDG_CONFIG_HOME: not a test session's environment";
        return false;
    }
    const std::string settings = std::string(config) + "/tarvelo";
    g_mkdir_with_parents(settings.c_str(), 0700);
    std::string values = R"("settings.onboarding": {"kind": "boolean", "value": true})";
    for (const std::string& key : switchedOn) values += R"(, ")" + key + R"(": {"kind": "boolean", "value": true})";
    std::ofstream(settings + "/defaults.json") << R"({"values": {)" << values << "}}";
    if (!std::ifstream(settings + "/defaults.json")) {
        failure = "cannot write " + settings + "/defaults.json";
        return false;
    }
    return true;
}

}  // namespace tarvelo::wayland::testing
