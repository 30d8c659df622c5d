// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/json_file_defaults_store.h"

#include "platform/linux/xdg_paths.h"
#include "support/translation.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <utility>
#include <vector>

namespace tarvelo::desktop {
namespace {

constexpr int kFormatVersion = 1;

class FileDescriptor {
public:
    explicit FileDescriptor(int descriptor = -1) : descriptor_(descriptor) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (descriptor_ >= 0) ::close(descriptor_);
    }
    int get() const { return descriptor_; }
    bool valid() const { return descriptor_ >= 0; }
    // Closes now and says whether the close succeeded (it can report a delayed write error).
    bool close() {
        const int descriptor = std::exchange(descriptor_, -1);
        return descriptor < 0 || ::close(descriptor) == 0;
    }

private:
    int descriptor_;
};

std::string systemError(int error) { return std::generic_category().message(error); }

// Holds an exclusive flock on "<file>.lock" for as long as it lives; holds nothing when the lock file
// cannot be created (the folder is missing or read-only).
class ExclusiveLock {
public:
    explicit ExclusiveLock(const std::filesystem::path& file)
        : descriptor_(::open((file.string() + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        if (!descriptor_.valid()) {
            error_ = errno;
            return;
        }
        while (::flock(descriptor_.get(), LOCK_EX) != 0) {
            if (errno != EINTR) {
                error_ = errno;
                descriptor_.close();
                return;
            }
        }
    }
    bool held() const { return descriptor_.valid(); }
    int error() const { return error_; }

private:
    FileDescriptor descriptor_;
    int error_ = 0;
};

bool writeAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// What the General page says when a change cannot be stored, in the user's language.
std::string cannotSave(const std::filesystem::path& folder, const std::string& error) {
    return i18n::format(i18n::tr("Tarvelo cannot save its settings in {folder} ({error}). Changes last until Tarvelo "
                                 "quits."),
                        {{"folder", folder.string()}, {"error", error}});
}

std::optional<std::string> readAll(const std::filesystem::path& file, int& error) {
    FileDescriptor descriptor(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (!descriptor.valid()) {
        error = errno;
        return std::nullopt;
    }
    std::string content;
    std::array<char, 16384> buffer{};
    for (;;) {
        const ssize_t count = ::read(descriptor.get(), buffer.data(), buffer.size());
        if (count < 0) {
            if (errno == EINTR) continue;
            error = errno;
            return std::nullopt;
        }
        if (count == 0) return content;
        content.append(buffer.data(), static_cast<std::size_t>(count));
    }
}

bool syncFolder(const std::filesystem::path& folder) {
    FileDescriptor descriptor(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return descriptor.valid() && ::fsync(descriptor.get()) == 0;
}

constexpr std::string_view kBase64Alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string base64Encoded(const DefaultsData& data) {
    std::string out;
    out.reserve((data.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < data.size(); i += 3) {
        const std::size_t available = std::min<std::size_t>(3, data.size() - i);
        std::uint32_t group = static_cast<std::uint32_t>(data[i]) << 16;
        if (available > 1) group |= static_cast<std::uint32_t>(data[i + 1]) << 8;
        if (available > 2) group |= data[i + 2];
        for (std::size_t j = 0; j < 4; ++j) {
            out += j <= available ? kBase64Alphabet[(group >> (18 - 6 * j)) & 0x3F] : '=';
        }
    }
    return out;
}

std::optional<DefaultsData> base64Decoded(std::string_view text) {
    if (text.size() % 4 != 0) return std::nullopt;
    DefaultsData out;
    out.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        std::uint32_t group = 0;
        std::size_t padding = 0;
        for (std::size_t j = 0; j < 4; ++j) {
            const char c = text[i + j];
            std::uint32_t sextet = 0;
            if (c == '=' && i + 4 == text.size() && j >= 2) {
                ++padding;
            } else if (padding > 0) {
                return std::nullopt;
            } else {
                const std::size_t position = kBase64Alphabet.find(c);
                if (position == std::string_view::npos) return std::nullopt;
                sextet = static_cast<std::uint32_t>(position);
            }
            group = (group << 6) | sextet;
        }
        out.push_back(static_cast<std::uint8_t>(group >> 16));
        if (padding < 2) out.push_back(static_cast<std::uint8_t>(group >> 8));
        if (padding < 1) out.push_back(static_cast<std::uint8_t>(group));
    }
    return out;
}

// JSON has no NaN or infinities, so those are written as text.
nlohmann::json encodedDouble(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    return value;
}

std::optional<double> decodedDouble(const nlohmann::json& json) {
    if (json.is_number()) return json.get<double>();
    if (json == "nan") return std::nan("");
    if (json == "inf") return HUGE_VAL;
    if (json == "-inf") return -HUGE_VAL;
    return std::nullopt;
}

nlohmann::json encoded(const DefaultsValue& value) {
    struct Encoder {
        nlohmann::json operator()(bool flag) const { return {{"kind", "boolean"}, {"value", flag}}; }
        nlohmann::json operator()(double number) const { return {{"kind", "double"}, {"value", encodedDouble(number)}}; }
        nlohmann::json operator()(std::int64_t integer) const { return {{"kind", "integer"}, {"value", integer}}; }
        nlohmann::json operator()(const DefaultsDate& date) const {
            return {{"kind", "date"}, {"value", encodedDouble(date.secondsSince1970)}};
        }
        nlohmann::json operator()(const DefaultsStringArray& strings) const {
            return {{"kind", "strings"}, {"value", strings}};
        }
        nlohmann::json operator()(const DefaultsData& data) const {
            return {{"kind", "data"}, {"value", base64Encoded(data)}};
        }
    };
    return std::visit(Encoder{}, value);
}

// None for an entry of a kind this version does not know, or whose value does not fit its kind.
std::optional<DefaultsValue> decoded(const nlohmann::json& entry) {
    if (!entry.is_object()) return std::nullopt;
    const auto kind = entry.find("kind");
    const auto value = entry.find("value");
    if (kind == entry.end() || value == entry.end() || !kind->is_string()) return std::nullopt;
    const std::string& name = kind->get_ref<const std::string&>();
    if (name == "boolean") {
        if (value->is_boolean()) return DefaultsValue(value->get<bool>());
    } else if (name == "double") {
        if (const auto number = decodedDouble(*value)) return DefaultsValue(*number);
    } else if (name == "integer") {
        if (value->is_number_integer() && !(value->is_number_unsigned() && value->get<std::uint64_t>() > INT64_MAX)) {
            return DefaultsValue(value->get<std::int64_t>());
        }
    } else if (name == "date") {
        if (const auto seconds = decodedDouble(*value)) return DefaultsValue(DefaultsDate{*seconds});
    } else if (name == "strings") {
        if (!value->is_array()) return std::nullopt;
        DefaultsStringArray strings;
        for (const nlohmann::json& element : *value) {
            if (!element.is_string()) return std::nullopt;
            strings.push_back(element.get<std::string>());
        }
        return DefaultsValue(std::move(strings));
    } else if (name == "data") {
        if (!value->is_string()) return std::nullopt;
        if (auto data = base64Decoded(value->get_ref<const std::string&>())) return DefaultsValue(std::move(*data));
    }
    return std::nullopt;
}

std::string utcTimestamp() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm parts{};
    ::gmtime_r(&now, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &parts);
    return text;
}

}  // namespace

bool JsonFileDefaultsStore::FileIdentity::operator==(const FileIdentity& other) const {
    return inode == other.inode && size == other.size && modified.tv_sec == other.modified.tv_sec &&
           modified.tv_nsec == other.modified.tv_nsec;
}

std::filesystem::path JsonFileDefaultsStore::userFilePath() { return xdgConfigHome() / "tarvelo" / "defaults.json"; }

JsonFileDefaultsStore::JsonFileDefaultsStore(std::filesystem::path file) : file_(std::move(file)) { load(); }

void JsonFileDefaultsStore::registerDefaults(const DefaultsValues& values) {
    for (const auto& [key, value] : values) registered_.insert_or_assign(key, value);
}

std::optional<DefaultsValue> JsonFileDefaultsStore::object(std::string_view key) const {
    if (const auto entry = entries_.find(key); entry != entries_.end()) {
        // A stored entry of an unknown kind hides the registered value, as any stored value does.
        return decoded(entry->second);
    }
    if (const auto registered = registered_.find(key); registered != registered_.end()) return registered->second;
    return std::nullopt;
}

void JsonFileDefaultsStore::setObject(std::string_view key, std::optional<DefaultsValue> value) {
    if (value) {
        entries_.insert_or_assign(std::string(key), encoded(*value));
    } else if (const auto entry = entries_.find(key); entry != entries_.end()) {
        entries_.erase(entry);
    }
    persist(key);
}

void JsonFileDefaultsStore::load() {
    const ExclusiveLock lock(file_);
    if (lock.held()) {
        // Only a writer holding the lock makes temporary files, so any found now were left by a crash.
        std::error_code error;
        const std::string prefix = "." + file_.filename().string() + ".tmp-";
        for (const auto& item : std::filesystem::directory_iterator(file_.parent_path(), error)) {
            if (item.path().filename().string().rfind(prefix, 0) == 0) std::filesystem::remove(item.path(), error);
        }
    }
    readFile();
}

bool JsonFileDefaultsStore::readFile() {
    int error = 0;
    const auto content = readAll(file_, error);
    if (!content) {
        // No file yet; ENOTDIR when something other than a folder stands where the folder belongs.
        if (error == ENOENT || error == ENOTDIR) {
            entries_.clear();
            knownIdentity_.reset();
            return true;
        }
        readOnly_ = true;
        saveProblem_ = i18n::format(i18n::tr("Tarvelo cannot read its settings file {file} ({error}). It uses its "
                                             "defaults and will not save changes until it is restarted."),
                                    {{"file", file_.string()}, {"error", systemError(error)}});
        return false;
    }
    const nlohmann::json json = nlohmann::json::parse(*content, nullptr, false);
    const bool wellFormed = !json.is_discarded() && json.is_object() && json.contains("values") &&
                            json["values"].is_object();
    if (!wellFormed) {
        setAside();
        return false;
    }
    entries_.clear();
    for (const auto& [key, entry] : json["values"].items()) entries_.emplace(key, entry);
    knownIdentity_ = identityOnDisk();
    return true;
}

void JsonFileDefaultsStore::setAside() {
    const std::string base = file_.string() + ".damaged-" + utcTimestamp();
    std::string aside = base;
    std::error_code error;
    for (int attempt = 2; std::filesystem::exists(aside, error); ++attempt) aside = base + "-" + std::to_string(attempt);
    std::filesystem::rename(file_, aside, error);
    if (error) {
        // Unless the damaged file is safely aside, it is left exactly as it is.
        readOnly_ = true;
        saveProblem_ = i18n::format(i18n::tr("Tarvelo\u2019s settings file {file} could not be read and could not be "
                                             "moved aside ({error}). Tarvelo uses its defaults and will not save "
                                             "changes until it is restarted."),
                                    {{"file", file_.string()}, {"error", error.message()}});
        return;
    }
    knownIdentity_.reset();
    damagedNotice_ = i18n::format(i18n::tr("Tarvelo\u2019s settings file could not be read and was kept as {file}. "
                                           "Tarvelo started again from its defaults."),
                                  {{"file", aside}});
}

void JsonFileDefaultsStore::persist(std::string_view changedKey) {
    if (readOnly_) return;
    std::error_code folderError;
    if (std::filesystem::create_directories(file_.parent_path(), folderError)) {
        std::filesystem::permissions(file_.parent_path(), std::filesystem::perms::owner_all, folderError);
    }

    const ExclusiveLock lock(file_);
    if (!lock.held()) {
        saveProblem_ = cannotSave(file_.parent_path(), systemError(lock.error()));
        return;
    }
    // Another process may have written since this one last read: start from its file, keep this change.
    if (identityOnDisk() != knownIdentity_) {
        std::optional<nlohmann::json> change;
        if (const auto entry = entries_.find(changedKey); entry != entries_.end()) change = entry->second;
        const auto previous = entries_;
        if (!readFile()) {
            entries_ = previous;
            if (readOnly_) return;
        }
        if (change) {
            entries_.insert_or_assign(std::string(changedKey), *change);
        } else if (const auto entry = entries_.find(changedKey); entry != entries_.end()) {
            entries_.erase(entry);
        }
    }
    std::string error;
    if (!writeFile(error)) {
        saveProblem_ = cannotSave(file_.parent_path(), error);
        return;
    }
    saveProblem_.reset();
}

bool JsonFileDefaultsStore::writeFile(std::string& error) {
    nlohmann::json values = nlohmann::json::object();
    for (const auto& [key, entry] : entries_) values[key] = entry;
    // Keys and texts that are not UTF-8 cannot be written as JSON; their bad bytes become U+FFFD.
    const std::string content = nlohmann::json{{"format", kFormatVersion}, {"values", std::move(values)}}
                                    .dump(2, ' ', false, nlohmann::json::error_handler_t::replace) +
                                "\n";

    std::string temporary = (file_.parent_path() / ("." + file_.filename().string() + ".tmp-XXXXXX")).string();
    std::vector<char> name(temporary.begin(), temporary.end());
    name.push_back('\0');
    FileDescriptor descriptor(::mkostemp(name.data(), O_CLOEXEC));
    if (!descriptor.valid()) {
        error = systemError(errno);
        return false;
    }
    temporary.assign(name.data());
    const bool written = writeAll(descriptor.get(), content) && ::fsync(descriptor.get()) == 0;
    const int writeError = errno;
    if (!descriptor.close() || !written) {
        error = systemError(written ? errno : writeError);
        ::unlink(temporary.c_str());
        return false;
    }
    if (::rename(temporary.c_str(), file_.c_str()) != 0) {
        error = systemError(errno);
        ::unlink(temporary.c_str());
        return false;
    }
    // The rename itself is durable only once the folder is.
    syncFolder(file_.parent_path());
    knownIdentity_ = identityOnDisk();
    return true;
}

std::optional<JsonFileDefaultsStore::FileIdentity> JsonFileDefaultsStore::identityOnDisk() const {
    struct stat status {};
    if (::stat(file_.c_str(), &status) != 0) return std::nullopt;
    return FileIdentity{status.st_ino, status.st_size, status.st_mtim};
}

}  // namespace tarvelo::desktop
