// SPDX-License-Identifier: GPL-3.0-or-later
// Real Debian applications on the test display, with Tarvelo running on the real backend: "ghbdtn " is
// typed at a person's pace into each field, must read back (over AT-SPI) as "привет " with not one
// character lost or added, and Ctrl+Z must bring "ghbdtn " back. A password field is left alone. Each
// application runs in a fresh home folder, with accessibility on and no network. Every case prints one
// row of the table that scripts/test-apps collects:
//
//   | Application | Field | Corrected | Undo | How |
//
// Which applications: TARVELO_APPS, a space-separated list of mousepad gedit gnome-text-editor firefox
// (what CI runs without the list) chromium libreoffice thunderbird.
// An application that is not installed is skipped, unless TARVELO_REQUIRE_APPS=1.

// GoogleTest first: Xlib's macros (None, Bool) would break its headers.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <atspi/atspi.h>
#include <glib.h>
#include <signal.h>
#include <spawn.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "desktop_environment.h"
#include "desktop_tarvelo.h"
#include "platform/linux/atspi/atspi_text_element.h"
#include "services/accessibility_service.h"
#include "test_keyboard.h"
#include "text/utf8.h"

extern char** environ;

namespace tarvelo::desktop::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kTyped = "ghbdtn ";
constexpr const char* kCorrected = "привет ";

// Whether TARVELO_APPS names the application; without it, the ones CI runs.
bool wanted(const std::string& name, bool inCi = true) {
    const char* list = std::getenv("TARVELO_APPS");
    if (list == nullptr || *list == '\0') return inCi;
    std::istringstream names(list);
    for (std::string entry; names >> entry;) {
        if (entry == name) return true;
    }
    return false;
}

std::optional<std::string> installed(const std::vector<std::string>& candidates) {
    for (const std::string& candidate : candidates) {
        if (candidate.find('/') != std::string::npos) {
            if (access(candidate.c_str(), X_OK) == 0) return candidate;
            continue;
        }
        const char* path = std::getenv("PATH");
        std::istringstream folders(path != nullptr ? path : "/usr/bin:/bin");
        for (std::string folder; std::getline(folders, folder, ':');) {
            const std::string full = folder + "/" + candidate;
            if (access(full.c_str(), X_OK) == 0) return full;
        }
    }
    return std::nullopt;
}

#define SKIP_UNLESS_INSTALLED(program, ...)                                                                 \
    const std::optional<std::string> program = installed({__VA_ARGS__});                                  \
    do {                                                                                                    \
        if (!program) {                                                                                     \
            const char* required = std::getenv("TARVELO_REQUIRE_APPS");                                     \
            if (required != nullptr && std::string(required) == "1") FAIL() << "not installed";             \
            GTEST_SKIP() << "not installed (scripts/test installs it)";                                     \
        }                                                                                                   \
    } while (false)

// A temporary folder, removed with everything in it.
struct TemporaryFolder {
    TemporaryFolder() {
        std::string pattern = (fs::temp_directory_path() / "tarvelo-app.XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) path = pattern;
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        if (!path.empty()) fs::remove_all(path, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    fs::path path;
};

// An application started in a process group of its own, in a fresh home folder; the whole group ends
// with it.
class Application {
public:
    Application(const std::vector<std::string>& command, const std::vector<std::string>& environment) {
        std::vector<std::string> entries;
        for (char** entry = environ; *entry != nullptr; ++entry) entries.emplace_back(*entry);
        const fs::path home = home_.path;
        const std::vector<std::string> own = {
            "HOME=" + home.string(),
            "XDG_CONFIG_HOME=" + (home / ".config").string(),
            "XDG_DATA_HOME=" + (home / ".local/share").string(),
            "XDG_CACHE_HOME=" + (home / ".cache").string(),
            "XDG_STATE_HOME=" + (home / ".local/state").string(),
            // Accessibility on, whatever the desktop's settings say.
            "GNOME_ACCESSIBILITY=1",
            "NO_AT_BRIDGE=0",
            // No GPU on the test display.
            "GSK_RENDERER=cairo",
            "LIBGL_ALWAYS_SOFTWARE=1",
            // No proxy to reach anything through.
            "http_proxy=http://127.0.0.1:9",
            "https_proxy=http://127.0.0.1:9",
        };
        for (const std::string& entry : own) set(entries, entry);
        for (const std::string& entry : environment) set(entries, entry);
        std::vector<char*> argv;
        for (const std::string& argument : command) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (std::string& entry : entries) envp.push_back(entry.data());
        envp.push_back(nullptr);

        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
        posix_spawnattr_setpgroup(&attributes, 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        // Their chatter is not the test's output.
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        if (posix_spawn(&pid_, argv[0], &actions, &attributes, argv.data(), envp.data()) != 0) pid_ = 0;
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }

    ~Application() {
        if (pid_ <= 0) return;
        kill(-pid_, SIGTERM);
        for (int i = 0; i < 50; ++i) {
            if (waitpid(pid_, nullptr, WNOHANG) != 0) break;
            g_usleep(100 * 1000);
        }
        // What is left of the group (a browser's content processes) goes too.
        kill(-pid_, SIGKILL);
        waitpid(pid_, nullptr, WNOHANG);
    }
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }
    const fs::path& home() const { return home_.path; }

private:
    static void set(std::vector<std::string>& entries, const std::string& entry) {
        const std::string name = entry.substr(0, entry.find('=') + 1);
        std::erase_if(entries, [&](const std::string& existing) { return existing.rfind(name, 0) == 0; });
        entries.push_back(entry);
    }

    TemporaryFolder home_;
    pid_t pid_ = 0;
};

// Types `ascii` on its own X connection, at a person's pace: intervals log-normal around `paceMs`.
void typeLikeAPerson(const std::string& ascii, double paceMs, unsigned seed, std::atomic<bool>& done) {
    Display* display = XOpenDisplay(nullptr);
    if (display != nullptr) {
        TestKeyboard keyboard(display);
        std::mt19937 random(seed);
        std::lognormal_distribution<double> spread(std::log(paceMs / 1000.0), 0.35);
        for (const char c : ascii) {
            std::this_thread::sleep_for(std::chrono::duration<double>(std::clamp(spread(random), 0.03, 0.6)));
            keyboard.type(std::string(1, c));
            XSync(display, False);
        }
        XCloseDisplay(display);
    }
    done = true;
}

struct Row {
    std::string application;
    std::string field;
    std::string corrected;
    std::string undo;
    std::string how;
};

void print(const Row& row) {
    std::printf("| %s | %s | %s | %s | %s |\n", row.application.c_str(), row.field.c_str(), row.corrected.c_str(),
                row.undo.c_str(), row.how.c_str());
    std::fflush(stdout);
}

// The page a browser opens: a <textarea> (focused first), an <input>, a contenteditable block and a
// password field, in that order of Tab.
fs::path writeFieldsPage(const fs::path& folder) {
    const fs::path page = folder / "fields.html";
    std::ofstream(page) << "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Fields</title></head><body>\n"
                           "<textarea id=\"area\" rows=\"4\" cols=\"40\" autofocus></textarea>\n"
                           "<input id=\"line\" type=\"text\">\n"
                           "<div id=\"rich\" contenteditable=\"true\" style=\"min-height:3em\"></div>\n"
                           "<input id=\"secret\" type=\"password\">\n</body></html>\n";
    return page;
}

class RealApplicationsTest : public ::testing::Test {
protected:
    void SetUp() override {
        TARVELO_REQUIRE_DESKTOP();
        user_.reset(XOpenDisplay(nullptr));
        ASSERT_NE(user_, nullptr);
        keyboard_ = std::make_unique<TestKeyboard>(user_.get());
        tarvelo_ = std::make_unique<DesktopTarvelo>();
        ASSERT_TRUE(tarvelo_->app.keyboardMonitor.isRunning().get()) << "the tap could not be installed";
        // Text deleted one character at a time is a correction typed with Backspace; an accessibility
        // edit deletes the word at once.
        deletions_.reset(atspi_event_listener_new(&RealApplicationsTest::onDeletion, this, nullptr));
        atspi_handles::ErrorSlot error;
        atspi_event_listener_register(deletions_.get(), kDeletion, error.out());
    }

    void TearDown() override {
        if (deletions_ != nullptr) {
            atspi_handles::ErrorSlot error;
            atspi_event_listener_deregister(deletions_.get(), kDeletion, error.out());
        }
        if (user_) XSync(user_.get(), False);
        tarvelo_.reset();
    }

    static constexpr const char* kDeletion = "object:text-changed:delete";
    static void onDeletion(AtspiEvent* event, void* data) {
        const atspi_handles::EventPtr owned(event);
        if (event->detail2 == 1) ++static_cast<RealApplicationsTest*>(data)->singleDeletions_;
    }

    // The whole text of the focused field, over AT-SPI; none when no editable text has focus.
    std::optional<std::string> focusedText() {
        const std::shared_ptr<AccessibilityElement> element = tarvelo_->desktop.accessibility().focusedElement();
        const auto* text = dynamic_cast<AtspiTextElement*>(element.get());
        if (text == nullptr) return std::nullopt;
        atspi_handles::ObjectPtr<AtspiText> iface(atspi_accessible_get_text_iface(text->accessible()));
        if (iface == nullptr) return std::nullopt;
        atspi_handles::ErrorSlot error;
        atspi_handles::TextPtr all(atspi_text_get_text(iface.get(), 0, -1, error.out()));
        if (error.failed() || all == nullptr) return std::nullopt;
        return std::string(all.get());
    }

    bool fieldReads(const std::string& expected, double seconds) {
        return iterateUntil(
            [&] {
                const std::optional<std::string> text = focusedText();
                return text && fieldShows(*text, expected);
            },
            seconds);
    }

    std::string describe() {
        const std::optional<std::string> text = focusedText();
        std::string shown;
        if (text) {
            // Spaces of other kinds made visible.
            for (const char32_t c : text::scalars(*text)) {
                if (c == U'\u00a0') {
                    shown += "<nbsp>";
                } else if (c == U'\n') {
                    shown += "<nl>";
                } else {
                    shown += text::fromScalars(std::u32string(1, c));
                }
            }
        }
        const std::shared_ptr<AccessibilityElement> element = tarvelo_->desktop.accessibility().focusedElement();
        std::string caret = "?";
        if (element != nullptr) {
            const AccessibilityAnswer answer = element->copyAttribute("AXSelectedTextRange");
            if (answer.value) {
                if (const TextRange* range = std::get_if<TextRange>(&*answer.value)) caret = std::to_string(range->location);
            }
        }
        return (text ? "\"" + shown + "\" caret " + caret : std::string("(no focused text)")) +
               " [status: " + tarvelo_->app.engine.statusMessage().get() + "]";
    }

    // Gives keyboard focus to the top-level window of process `pid` once it is mapped.
    bool focusWindowOf(pid_t pid, double seconds) {
        Display* display = user_.get();
        const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
        return iterateUntil(
            [&] {
                Window root = 0;
                Window parent = 0;
                Window* children = nullptr;
                unsigned int count = 0;
                if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) == 0) {
                    return false;
                }
                bool found = false;
                for (unsigned int i = count; i-- > 0 && !found;) {
                    XWindowAttributes attributes;
                    if (XGetWindowAttributes(display, children[i], &attributes) == 0 ||
                        attributes.map_state != IsViewable) {
                        continue;
                    }
                    Atom type = 0;
                    int format = 0;
                    unsigned long items = 0;
                    unsigned long left = 0;
                    unsigned char* data = nullptr;
                    if (XGetWindowProperty(display, children[i], pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                                           &items, &left, &data) == Success &&
                        data != nullptr) {
                        // The program started may have handed over to a child (LibreOffice's soffice.bin).
                        const auto owner = static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data));
                        if (items == 1 && (owner == pid || getpgid(owner) == pid)) {
                            XRaiseWindow(display, children[i]);
                            XSetInputFocus(display, children[i], RevertToParent, CurrentTime);
                            XSync(display, False);
                            found = true;
                        }
                        XFree(data);
                    }
                }
                if (children != nullptr) XFree(children);
                return found;
            },
            seconds);
    }

    // Waits for an empty editable field to have focus.
    bool emptyFieldFocused(double seconds) {
        return iterateUntil(
            [&] {
                const std::optional<std::string> text = focusedText();
                return text && (text->empty() || *text == "\n");
            },
            seconds);
    }

    void type(const std::string& ascii, unsigned seed) {
        std::atomic<bool> done = false;
        std::thread typist(typeLikeAPerson, ascii, 120.0, seed, std::ref(done));
        iterateUntil([&] { return done.load(); }, 30.0);
        typist.join();
    }

    // A browser on the fields page: the <textarea> has focus first, Tab leads to the <input>, the
    // contenteditable block and the password field.
    void webFields(const std::string& browser, const Application& application, unsigned seed) {
        ASSERT_TRUE(focusWindowOf(application.pid(), 60.0)) << "no window";
        ASSERT_TRUE(emptyFieldFocused(60.0)) << describe();
        print(correctAndUndo(browser, "`<textarea>`", seed));

        pressTab();
        ASSERT_TRUE(emptyFieldFocused(10.0)) << describe();
        print(correctAndUndo(browser, "`<input>`", seed + 1));

        pressTab();
        ASSERT_TRUE(emptyFieldFocused(10.0)) << describe();
        print(correctAndUndo(browser, "`contenteditable`", seed + 2));

        pressTab();
        const std::int64_t correctedBefore = tarvelo_->statistics.today().englishToRussian;
        type(kTyped, seed + 3);
        iterateFor(1.0);
        EXPECT_EQ(tarvelo_->statistics.today().englishToRussian, correctedBefore) << "the password field was corrected";
        EXPECT_NE(tarvelo_->app.engine.statusMessage().get(), "Correction sent");
        const std::optional<std::string> shown = focusedText();
        // Whatever the field shows for its seven characters, it is never the correction.
        EXPECT_FALSE(shown && fieldShows(*shown, kCorrected)) << describe();
        print(Row{browser, "password", "left alone", "—", "—"});
    }

    void pressTab() {
        keyboard_->tap(XK_Tab);
        XSync(user_.get(), False);
    }

    void pressControl(KeySym key) {
        keyboard_->tap(key, {XK_Control_L});
        XSync(user_.get(), False);
    }

    // Types the word, waits for its correction, undoes it; the row says what happened. The field must
    // then read `corrected` and `undone` whole (an application's autocorrect may capitalise the word).
    Row correctAndUndo(const std::string& application, const std::string& field, unsigned seed,
                       const std::string& corrected = kCorrected, const std::string& undone = kTyped) {
        Row row{application, field, "no", "—", "—"};
        const std::int64_t correctedBefore = tarvelo_->statistics.today().englishToRussian;
        type(kTyped, seed);
        singleDeletions_ = 0;
        if (!fieldReads(corrected, 3.0)) {
            ADD_FAILURE() << application << " " << field << ": " << describe();
            return row;
        }
        row.corrected = "yes";
        // Wait for the read-back, which makes the correction undoable.
        EXPECT_TRUE(iterateUntil([&] { return tarvelo_->app.engine.lastCorrection().get().has_value(); }, 2.0))
            << describe();
        EXPECT_EQ(tarvelo_->statistics.today().englishToRussian, correctedBefore + 1);
        // The word's six letters, deleted one by one.
        row.how = singleDeletions_ >= 6 ? "typed keys" : "accessibility edit";
        pressControl(XK_z);
        const bool back = fieldReads(undone, 3.0);
        EXPECT_TRUE(back) << application << " " << field << " undo: " << describe();
        row.undo = back ? "yes" : "no";
        // Undo taught Tarvelo the word as an exception; the next field starts afresh.
        tarvelo_->exceptions.remove("ghbdtn");
        return row;
    }

    std::unique_ptr<Display, decltype(&XCloseDisplay)> user_{nullptr, &XCloseDisplay};
    std::unique_ptr<TestKeyboard> keyboard_;
    std::unique_ptr<DesktopTarvelo> tarvelo_;
    atspi_handles::ObjectPtr<AtspiEventListener> deletions_;
    int singleDeletions_ = 0;
};

TEST_F(RealApplicationsTest, Mousepad) {
    if (!wanted("mousepad")) GTEST_SKIP() << "not in TARVELO_APPS";
    SKIP_UNLESS_INSTALLED(program, "mousepad");
    Application mousepad({*program, "--disable-server"}, {});
    ASSERT_TRUE(mousepad.started());
    ASSERT_TRUE(focusWindowOf(mousepad.pid(), 20.0)) << "no window";
    ASSERT_TRUE(emptyFieldFocused(20.0)) << describe();
    print(correctAndUndo("mousepad (GTK 3)", "document", 1));
}

TEST_F(RealApplicationsTest, Gedit) {
    if (!wanted("gedit")) GTEST_SKIP() << "not in TARVELO_APPS";
    SKIP_UNLESS_INSTALLED(program, "gedit");
    Application gedit({*program, "--standalone", "--new-window"}, {});
    ASSERT_TRUE(gedit.started());
    ASSERT_TRUE(focusWindowOf(gedit.pid(), 20.0)) << "no window";
    ASSERT_TRUE(emptyFieldFocused(20.0)) << describe();
    print(correctAndUndo("gedit (GTK 3)", "document", 2));
}

// GTK 4 gives no focus event for the field it starts in: the backend must find it by searching.
TEST_F(RealApplicationsTest, GnomeTextEditorRightAfterItStarts) {
    if (!wanted("gnome-text-editor")) GTEST_SKIP() << "not in TARVELO_APPS";
    SKIP_UNLESS_INSTALLED(program, "gnome-text-editor");
    Application editor({*program, "--standalone", "--ignore-session", "--new-window"}, {});
    ASSERT_TRUE(editor.started());
    ASSERT_TRUE(focusWindowOf(editor.pid(), 30.0)) << "no window";
    ASSERT_TRUE(emptyFieldFocused(30.0)) << describe();
    print(correctAndUndo("gnome-text-editor (GTK 4), right after start", "document", 3));
}

// One browser for all its fields: a <textarea>, an <input>, a contenteditable block, reached with Tab
// in that order, then a password field that must be left alone.
TEST_F(RealApplicationsTest, FirefoxFields) {
    if (!wanted("firefox")) GTEST_SKIP() << "not in TARVELO_APPS";
    SKIP_UNLESS_INSTALLED(program, "firefox-esr", "firefox");
    TemporaryFolder site;
    const fs::path page = writeFieldsPage(site.path);
    TemporaryFolder profile;
    // A fresh profile that starts straight on the page, with accessibility forced on and nothing that
    // reaches the network.
    std::ofstream(profile.path / "user.js")
        << "user_pref(\"accessibility.force_disabled\", -1);\n"
           "user_pref(\"browser.shell.checkDefaultBrowser\", false);\n"
           "user_pref(\"browser.startup.homepage_override.mstone\", \"ignore\");\n"
           "user_pref(\"browser.aboutwelcome.enabled\", false);\n"
           "user_pref(\"startup.homepage_welcome_url\", \"\");\n"
           "user_pref(\"datareporting.policy.dataSubmissionEnabled\", false);\n"
           "user_pref(\"datareporting.healthreport.uploadEnabled\", false);\n"
           "user_pref(\"toolkit.telemetry.reportingpolicy.firstRun\", false);\n"
           "user_pref(\"app.update.auto\", false);\n"
           "user_pref(\"extensions.update.enabled\", false);\n"
           "user_pref(\"browser.safebrowsing.malware.enabled\", false);\n"
           "user_pref(\"browser.safebrowsing.phishing.enabled\", false);\n"
           "user_pref(\"network.captive-portal-service.enabled\", false);\n"
           "user_pref(\"network.connectivity-service.enabled\", false);\n"
           "user_pref(\"network.dns.disablePrefetch\", true);\n"
           "user_pref(\"network.proxy.type\", 1);\n"
           "user_pref(\"network.proxy.http\", \"127.0.0.1\");\n"
           "user_pref(\"network.proxy.http_port\", 9);\n"
           "user_pref(\"network.proxy.ssl\", \"127.0.0.1\");\n"
           "user_pref(\"network.proxy.ssl_port\", 9);\n"
           "user_pref(\"browser.tabs.warnOnClose\", false);\n"
           "user_pref(\"browser.sessionstore.resume_from_crash\", false);\n";
    Application firefox({*program, "--no-remote", "--new-instance", "--profile", profile.path.string(),
                         "file://" + page.string()},
                        {"MOZ_CRASHREPORTER_DISABLE=1", "MOZ_DISABLE_AUTO_SAFE_MODE=1"});
    ASSERT_TRUE(firefox.started());
    webFields("Firefox ESR", firefox, 4);
}

TEST_F(RealApplicationsTest, ChromiumFields) {
    if (!wanted("chromium", false)) GTEST_SKIP() << "not in TARVELO_APPS";
    SKIP_UNLESS_INSTALLED(program, "chromium", "chromium-browser");
    TemporaryFolder site;
    const fs::path page = writeFieldsPage(site.path);
    TemporaryFolder profile;
    std::vector<std::string> command = {*program,
                                        "--user-data-dir=" + profile.path.string(),
                                        "--no-first-run",
                                        "--no-default-browser-check",
                                        "--disable-gpu",
                                        "--force-renderer-accessibility",
                                        "--password-store=basic",
                                        "--disable-background-networking",
                                        "--disable-component-update",
                                        "--disable-sync",
                                        "--proxy-server=127.0.0.1:9",
                                        "file://" + page.string()};
    // Its sandbox refuses to run as root.
    if (geteuid() == 0) command.insert(command.begin() + 1, "--no-sandbox");
    Application chromium(command, {"ACCESSIBILITY_ENABLED=1"});
    ASSERT_TRUE(chromium.started());
    webFields("Chromium", chromium, 8);
}

// LibreOffice's autocorrect capitalises the first word of a sentence at its space: the correction
// keeps that case. It speaks AT-SPI through its GTK 3 interface.
TEST_F(RealApplicationsTest, LibreOfficeWriter) {
    if (!wanted("libreoffice", false)) GTEST_SKIP() << "not in TARVELO_APPS";
    SKIP_UNLESS_INSTALLED(program, "soffice", "libreoffice");
    TemporaryFolder installation;
    Application writer({*program, "--writer", "--norestore", "--nologo", "--nodefault", "--nofirststartwizard",
                        "-env:UserInstallation=file://" + installation.path.string(), "private:factory/swriter"},
                       {"SAL_USE_VCLPLUGIN=gtk3"});
    ASSERT_TRUE(writer.started());
    ASSERT_TRUE(focusWindowOf(writer.pid(), 60.0)) << "no window";
    ASSERT_TRUE(emptyFieldFocused(60.0)) << describe();
    print(correctAndUndo("LibreOffice Writer", "first word", 12, "Привет ", "Ghbdtn "));
    // A new paragraph, and a word after another one.
    keyboard_->tap(XK_Return);
    type("Then ", 13);
    print(correctAndUndo("LibreOffice Writer", "mid-sentence", 14, "Then привет ", "Then ghbdtn "));
}

// Thunderbird's compose window, with a local identity so that no account wizard comes first: the
// focused object is the message document, the text sits in its paragraph.
TEST_F(RealApplicationsTest, ThunderbirdCompose) {
    if (!wanted("thunderbird", false)) GTEST_SKIP() << "not in TARVELO_APPS";
    SKIP_UNLESS_INSTALLED(program, "thunderbird");
    TemporaryFolder profile;
    std::ofstream(profile.path / "user.js")
        << "user_pref(\"accessibility.force_disabled\", -1);\n"
           "user_pref(\"mail.shell.checkDefaultClient\", false);\n"
           "user_pref(\"mail.provider.enabled\", false);\n"
           "user_pref(\"mailnews.start_page.enabled\", false);\n"
           "user_pref(\"datareporting.policy.dataSubmissionEnabled\", false);\n"
           "user_pref(\"app.update.auto\", false);\n"
           "user_pref(\"network.proxy.type\", 1);\n"
           "user_pref(\"network.proxy.http\", \"127.0.0.1\");\n"
           "user_pref(\"network.proxy.http_port\", 9);\n"
           "user_pref(\"mail.accountmanager.accounts\", \"account1,account2\");\n"
           "user_pref(\"mail.accountmanager.defaultaccount\", \"account1\");\n"
           "user_pref(\"mail.accountmanager.localfoldersserver\", \"server2\");\n"
           "user_pref(\"mail.account.account1.server\", \"server1\");\n"
           "user_pref(\"mail.account.account1.identities\", \"id1\");\n"
           "user_pref(\"mail.account.account2.server\", \"server2\");\n"
           "user_pref(\"mail.identity.id1.fullName\", \"Test\");\n"
           "user_pref(\"mail.identity.id1.useremail\", \"test@example.org\");\n"
           "user_pref(\"mail.identity.id1.valid\", true);\n"
           "user_pref(\"mail.server.server1.type\", \"pop3\");\n"
           "user_pref(\"mail.server.server1.hostname\", \"127.0.0.1\");\n"
           "user_pref(\"mail.server.server1.port\", 9);\n"
           "user_pref(\"mail.server.server1.userName\", \"test\");\n"
           "user_pref(\"mail.server.server1.login_at_startup\", false);\n"
           "user_pref(\"mail.server.server1.check_new_mail\", false);\n"
           "user_pref(\"mail.server.server2.type\", \"none\");\n"
           "user_pref(\"mail.server.server2.hostname\", \"Local Folders\");\n"
           "user_pref(\"mail.server.server2.userName\", \"nobody\");\n";
    Application thunderbird({*program, "--no-remote", "--profile", profile.path.string(), "-compose",
                             "to='someone@example.org',subject='Hello'"},
                            {"MOZ_CRASHREPORTER_DISABLE=1"});
    ASSERT_TRUE(thunderbird.started());
    ASSERT_TRUE(focusWindowOf(thunderbird.pid(), 60.0)) << "no window";
    ASSERT_TRUE(emptyFieldFocused(60.0)) << describe();
    print(correctAndUndo("Thunderbird", "compose", 20));
}

}  // namespace
}  // namespace tarvelo::desktop::testing
