// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <ctime>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "platform/defaults_store.h"

namespace tarvelo::desktop {

// The user defaults as one JSON file, each value with its kind. Every write replaces the file
// atomically (temporary file, fsync, rename, fsync of the folder) under an flock on a lock file beside
// it, so that a crash leaves the old or the new file and two processes never interleave. A file that
// cannot be parsed is moved aside, never overwritten; a folder that cannot be written keeps the store
// working in memory and is reported by `problem()`.
class JsonFileDefaultsStore final : public DefaultsStore {
public:
    // $XDG_CONFIG_HOME/tarvelo/defaults.json, or ~/.config/tarvelo/defaults.json.
    static std::filesystem::path userFilePath();

    explicit JsonFileDefaultsStore(std::filesystem::path file);

    void registerDefaults(const DefaultsValues& values) override;
    std::optional<DefaultsValue> object(std::string_view key) const override;
    void setObject(std::string_view key, std::optional<DefaultsValue> value) override;
    std::optional<std::string> problem() const override { return saveProblem_ ? saveProblem_ : damagedNotice_; }

    const std::filesystem::path& file() const { return file_; }

private:
    // What identifies one version of the file on disk, to notice a write by another process.
    struct FileIdentity {
        ino_t inode = 0;
        off_t size = 0;
        std::timespec modified{};
        bool operator==(const FileIdentity& other) const;
    };

    void load();
    // Reads the file into `entries_`; false when it could not be read or had to be moved aside.
    bool readFile();
    void persist(std::string_view changedKey);
    bool writeFile(std::string& error);
    void setAside();
    std::optional<FileIdentity> identityOnDisk() const;

    std::filesystem::path file_;
    // Each stored entry as it is written to the file, so that entries of a kind this version does not
    // know are written back unchanged.
    std::map<std::string, nlohmann::json, std::less<>> entries_;
    DefaultsValues registered_;
    std::optional<FileIdentity> knownIdentity_;
    // Set when the file exists but cannot be read: it is never overwritten in this run.
    bool readOnly_ = false;
    // Why changes are not being saved; cleared by the next save that succeeds.
    std::optional<std::string> saveProblem_;
    // Where a damaged file was set aside; reported for the rest of the run.
    std::optional<std::string> damagedNotice_;
};

}  // namespace tarvelo::desktop
