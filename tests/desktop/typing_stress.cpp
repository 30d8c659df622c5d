// SPDX-License-Identifier: GPL-3.0-or-later
// Types whole sentences on the wrong layout into a real GTK 3 or Qt 6 field at a person's pace, with
// Tarvelo running on the real backend, and checks what matters most: no character of a word lost, moved
// or doubled (each word reads as typed, as meant, or at least each character on the key it was typed on). It also reports how many of the wrong-layout words that the detector corrects were
// corrected, and that every correction standing in the field was counted.
//
//   tarvelo_typing_stress --toolkit gtk --pace 120 --words 300 [--busy] [--perturb] [--seed N]
//                         [--min-recall 0.95] [--sentences FILE]
//
// The typist is a thread of its own with its own X connection, so that its keys reach the server while
// Tarvelo is in the middle of an edit, as a person's do. Intervals between keys are log-normal around
// the median pace. --busy keeps every core busy meanwhile; --perturb mixes in typos taken back with
// Backspace, arrow keys and clicks into the field (followed by End), each of which must leave every word
// either as typed or corrected. Exits 1 on a mangled word, a correction not counted, or a recall below
// --min-recall; 2 on a usage error or a desktop that cannot be set up.

// GoogleTest's headers come in through the test helpers; Xlib's macros must come after them.
#include "desktop_environment.h"
#include "desktop_tarvelo.h"
#include "test_keyboard.h"
#include "text_field_program.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <glib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "analysis/language_detector.h"
#include "analysis/layout_converter.h"
#include "analysis/word_analyzer.h"
#include "text/characters.h"

namespace tarvelo::desktop::testing {
namespace {

struct Options {
    Toolkit toolkit = Toolkit::gtk;
    double paceMs = 120.0;
    std::size_t words = 300;
    bool busy = false;
    bool perturb = false;
    unsigned seed = 1;
    double minRecall = 0.0;
    std::string sentences = TARVELO_STRESS_SENTENCES;
};

// One step of the typist: a key (with Shift or not), or a click into the focused window.
struct Action {
    enum class Kind { key, click } kind = Kind::key;
    KeySym keysym = NoSymbol;
    bool shift = false;
    double delay = 0.0;  // seconds after the previous action
};

std::vector<std::string> splitWords(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream stream(text);
    for (std::string word; stream >> word;) words.push_back(word);
    return words;
}

// The person at the keyboard: plays the actions on a connection of its own, at their times.
void typeActions(const std::vector<Action>& actions, std::atomic<bool>& done) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        done = true;
        return;
    }
    const auto tap = [&](KeySym keysym, bool shift) {
        const KeyCode shiftKey = XKeysymToKeycode(display, XK_Shift_L);
        const KeyCode key = XKeysymToKeycode(display, keysym);
        if (shift) XTestFakeKeyEvent(display, shiftKey, True, CurrentTime);
        XTestFakeKeyEvent(display, key, True, CurrentTime);
        XTestFakeKeyEvent(display, key, False, CurrentTime);
        if (shift) XTestFakeKeyEvent(display, shiftKey, False, CurrentTime);
        XFlush(display);
    };
    std::mt19937 random(7);
    auto next = std::chrono::steady_clock::now();
    for (const Action& action : actions) {
        next += std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(action.delay));
        std::this_thread::sleep_until(next);
        if (action.kind == Action::Kind::key) {
            tap(action.keysym, action.shift);
            continue;
        }
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(display, &focus, &revert);
        XWindowAttributes attributes;
        int x = 0;
        int y = 0;
        Window child = 0;
        if (focus > PointerRoot && XGetWindowAttributes(display, focus, &attributes) != 0 &&
            XTranslateCoordinates(display, focus, DefaultRootWindow(display), 0, 0, &x, &y, &child) != 0) {
            const int width = std::max(attributes.width - 20, 1);
            XTestFakeMotionEvent(display, -1, x + 10 + static_cast<int>(random() % static_cast<unsigned>(width)),
                                 y + attributes.height / 2, CurrentTime);
            XTestFakeButtonEvent(display, 1, True, CurrentTime);
            XTestFakeButtonEvent(display, 1, False, CurrentTime);
            XFlush(display);
        }
    }
    XSync(display, False);
    XCloseDisplay(display);
    done = true;
}

class StressRun {
public:
    explicit StressRun(const Options& options) : options_(options), random_(options.seed) {}

    int run();

private:
    struct Sentence {
        std::string language;
        std::string text;
    };

    bool setUp();
    std::vector<Sentence> loadSentences();
    // The delay before the next key, drawn around the median pace.
    double interval() {
        std::lognormal_distribution<double> spread(std::log(options_.paceMs / 1000.0), 0.35);
        return std::clamp(spread(random_), 0.015, 1.0);
    }
    bool wouldCorrect(const std::string& typed);
    // The keys that type `text` on the US layout, whichever layout it was typed on.
    std::string keysOf(const std::string& text) const {
        return converter_.convert(text, ConversionDirection::russianToEnglish);
    }
    void typeSentence(const Sentence& sentence);
    bool waitUntilQuiet(double seconds);

    Options options_;
    std::mt19937 random_;
    std::unique_ptr<DesktopTarvelo> tarvelo_;
    std::unique_ptr<TextFieldProgram> program_;
    std::unique_ptr<Display, decltype(&XCloseDisplay)> user_{nullptr, &XCloseDisplay};
    LayoutConverter converter_;
    std::unique_ptr<LanguageDetector> detector_;
    WordAnalyzer analyzer_;

    std::size_t typedWords_ = 0;
    std::size_t corrupted_ = 0;
    std::size_t expected_ = 0;   // wrong-layout words of 3+ letters the detector corrects
    std::size_t corrected_ = 0;  // of those, corrected in the field
    std::size_t standing_ = 0;   // every correction that stands in the field
    std::size_t interrupted_ = 0;  // corrections standing that a click or arrow key followed at once
    std::size_t counted_ = 0;    // corrections the statistics counted
    std::size_t sentences_ = 0;
    std::size_t exact_ = 0;
    std::size_t partlyCorrected_ = 0;
    std::size_t unverified_ = 0;
    std::size_t refused_ = 0;
    Subscription statusWatch_;
    std::chrono::steady_clock::duration lastFreeze_{};
    std::vector<double> freezes_;  // milliseconds
};

bool StressRun::setUp() {
    user_.reset(XOpenDisplay(nullptr));
    if (user_ == nullptr) {
        std::cerr << "tarvelo_typing_stress: no X display; run it under scripts/desktop-session\n";
        return false;
    }
    tarvelo_ = std::make_unique<DesktopTarvelo>();
    if (!tarvelo_->app.keyboardMonitor.isRunning().get()) {
        std::cerr << "tarvelo_typing_stress: the keyboard tap could not be installed\n";
        return false;
    }
    const PipelinePlatform platform = tarvelo_->desktop.pipelinePlatform();
    detector_ = std::make_unique<LanguageDetector>(converter_, platform.spellChecker, platform.recognizer);
    std::string failure;
    program_ = TextFieldProgram::start({options_.toolkit, FieldKind::singleLine, {}}, failure);
    if (program_ == nullptr) {
        std::cerr << "tarvelo_typing_stress: " << failure << '\n';
        return false;
    }
    if (!iterateUntil([&] { return tarvelo_->desktop.accessibility().focusedElement() != nullptr; }, 10.0)) {
        std::cerr << "tarvelo_typing_stress: the backend never saw the field focused\n";
        return false;
    }
    statusWatch_ = tarvelo_->app.engine.statusMessage().subscribe([this](const std::string& status) {
        // Each freeze of the keyboard, for its length: an edit, or the last look of a read-back.
        const auto length = tarvelo_->desktop.keyboardFreeze().lastFreezeLength();
        if (length != lastFreeze_) {
            lastFreeze_ = length;
            freezes_.push_back(std::chrono::duration<double, std::milli>(length).count());
        }
        if (status == "Correction sent; result unverified") ++unverified_;
        if (status == "Correction could not be sent") ++refused_;
    });
    return true;
}

std::vector<StressRun::Sentence> StressRun::loadSentences() {
    std::vector<Sentence> sentences;
    std::ifstream file(options_.sentences);
    for (std::string line; std::getline(file, line);) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        sentences.push_back({line.substr(0, tab), line.substr(tab + 1)});
    }
    std::shuffle(sentences.begin(), sentences.end(), random_);
    return sentences;
}

bool StressRun::wouldCorrect(const std::string& typed) {
    if (text::characterCount(typed) < 3 || !analyzer_.shouldAnalyze(typed, {})) return false;
    const DetectionResult result = detector_->evaluateToken(typed);
    const bool wrong = result.classification == LanguageClassification::wrongEnglishLayoutIntendedRussian ||
                       result.classification == LanguageClassification::wrongRussianLayoutIntendedEnglish;
    return result.direction && wrong &&
           result.convertedScore - result.originalScore >=
               AutoSwitchEngine::requiredMargin(tarvelo_->settings.sensitivity.get());
}

bool StressRun::waitUntilQuiet(double seconds) {
    // Corrections start within 0.08 s and are read back 0.12 s later; the field program answers last.
    iterateFor(seconds);
    return true;
}

void StressRun::typeSentence(const Sentence& sentence) {
    const bool russian = sentence.language == "ru";
    // The keys a person presses who meant the sentence and had the other layout on.
    const std::string keys =
        russian ? converter_.convert(sentence.text, ConversionDirection::russianToEnglish) : sentence.text;
    const std::vector<std::string> meant = splitWords(sentence.text);
    const std::vector<std::string> typed =
        splitWords(russian ? keys : converter_.convert(sentence.text, ConversionDirection::englishToRussian));

    program_->setMarkedText("|");
    TestKeyboard(user_.get()).lockGroup(russian ? 0 : 1);
    iterateFor(0.15);

    std::vector<Action> actions;
    std::vector<bool> perturbed(meant.size(), false);
    std::size_t word = 0;
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    for (const char c : keys + " ") {
        const std::optional<std::pair<KeySym, bool>> key = TestKeyboard::usKey(c);
        if (!key) continue;
        if (options_.perturb && c != ' ' && chance(random_) < 0.04) {
            // A typo taken back at once.
            actions.push_back({Action::Kind::key, static_cast<KeySym>('a' + random_() % 26), false, interval()});
            actions.push_back({Action::Kind::key, XK_BackSpace, false, interval()});
        }
        actions.push_back({Action::Kind::key, key->first, key->second, interval()});
        if (c == ' ') {
            if (options_.perturb && chance(random_) < 0.12) {
                perturbed[word] = true;
                if (chance(random_) < 0.5) {
                    // A click somewhere in the field right after the space, then back to the end.
                    actions.push_back({Action::Kind::click, NoSymbol, false, 0.005 + chance(random_) * 0.08});
                    actions.push_back({Action::Kind::key, XK_End, false, interval()});
                } else {
                    actions.push_back({Action::Kind::key, XK_Left, false, 0.005 + chance(random_) * 0.08});
                    actions.push_back({Action::Kind::key, XK_Right, false, interval()});
                }
            }
            ++word;
        }
    }

    std::atomic<bool> done{false};
    std::thread typist(typeActions, std::cref(actions), std::ref(done));
    const StatisticsManager& statistics = tarvelo_->statistics;
    // Every day's: a run that crosses midnight (UTC) counts on two days.
    const auto countedNow = [&] {
        std::int64_t counted = 0;
        for (const DailyStatistics& day : statistics.days().get()) counted += day.englishToRussian + day.russianToEnglish;
        return static_cast<std::size_t>(counted);
    };
    const std::size_t countedBefore = countedNow();
    iterateUntil([&] { return done.load(); }, 600.0);
    typist.join();
    waitUntilQuiet(0.5);

    std::string field = program_->markedText().value_or("<no answer>");
    std::erase(field, '|');
    const std::vector<std::string> shown = splitWords(field);
    ++sentences_;
    typedWords_ += meant.size();
    bool mangled = shown.size() != meant.size() || field != [&] {
        std::string joined;
        for (const std::string& each : shown) joined += each + " ";
        return joined;
    }();
    std::size_t standing = 0;
    std::size_t interrupted = 0;
    for (std::size_t i = 0; i < meant.size(); ++i) {
        const bool should = wouldCorrect(typed[i]);
        if (i >= shown.size()) break;
        const bool isMeant = shown[i] == meant[i];
        // Not as typed and not as meant: a word that a key of the other layout split (Э is the quote key,
        // which closes a word) may be corrected in part. That is the detector's choice; what must never
        // happen is a character lost, moved or added, so each character must stand on its own key.
        if (!isMeant && shown[i] != typed[i]) {
            if (keysOf(shown[i]) == keysOf(typed[i])) {
                ++partlyCorrected_;
            } else {
                mangled = true;
            }
        }
        // A click or an arrow key right after the word may come before its correction is read back,
        // which then cannot tell where it stands: it stays, but is neither counted nor undoable.
        if (isMeant && meant[i] != typed[i]) ++(perturbed[i] ? interrupted : standing);
        if (should && !perturbed[i]) {
            ++expected_;
            if (isMeant) ++corrected_;
        }
    }
    standing_ += standing;
    interrupted_ += interrupted;
    counted_ += countedNow() - countedBefore;
    if (shown == meant) ++exact_;
    if (mangled) {
        ++corrupted_;
        std::cout << "MANGLED  meant: " << sentence.text << "\n         typed: " << keys << "\n         field: " << field
                  << "\n";
    }
}

int StressRun::run() {
    if (!setUp()) return 2;
    const std::vector<Sentence> sentences = loadSentences();
    if (sentences.empty()) {
        std::cerr << "tarvelo_typing_stress: no sentences in " << options_.sentences << '\n';
        return 2;
    }
    std::atomic<bool> stopBusy{false};
    std::vector<std::thread> busy;
    if (options_.busy) {
        for (unsigned i = 0; i < std::max(1u, std::thread::hardware_concurrency()); ++i) {
            busy.emplace_back([&stopBusy] {
                volatile std::uint64_t spin = 0;
                while (!stopBusy.load(std::memory_order_relaxed)) spin = spin + 1;
            });
        }
    }
    for (std::size_t i = 0; typedWords_ < options_.words; ++i) typeSentence(sentences[i % sentences.size()]);
    stopBusy = true;
    for (std::thread& thread : busy) thread.join();

    const double recall = expected_ == 0 ? 1.0 : static_cast<double>(corrected_) / static_cast<double>(expected_);
    std::printf("%s, median %.0f ms a key%s%s: %zu sentences, %zu words; wrong-layout words the detector corrects: "
                "%zu, corrected: %zu (%.1f %%); sentences exactly as meant: %zu; mangled sentences: %zu; "
                "corrections standing: %zu (and %zu right before a click or an arrow key), counted: %zu; unverified: %zu, "
                "refused: %zu; words corrected in part: %zu\n",
                toolkitName(options_.toolkit), options_.paceMs, options_.busy ? ", cores busy" : "",
                options_.perturb ? ", with typos, arrows and clicks" : "", sentences_, typedWords_, expected_, corrected_,
                recall * 100.0, exact_, corrupted_, standing_, interrupted_, counted_, unverified_, refused_,
                partlyCorrected_);
    if (!freezes_.empty()) {
        std::vector<double> sorted = freezes_;
        std::sort(sorted.begin(), sorted.end());
        const auto at = [&](double share) {
            return sorted[static_cast<std::size_t>(share * static_cast<double>(sorted.size() - 1))];
        };
        std::printf("  the keyboard was frozen %zu times: median %.2f ms, 95th percentile %.2f ms, longest %.2f ms\n",
                    sorted.size(), at(0.5), at(0.95), sorted.back());
    }
    bool failed = corrupted_ > 0;
    if (counted_ < standing_ || counted_ > standing_ + interrupted_) {
        std::printf("FAILED: %zu corrections stand in the field (%zu more right before a click or an arrow key), the "
                    "statistics counted %zu\n",
                    standing_, interrupted_, counted_);
        failed = true;
    }
    if (recall < options_.minRecall) {
        std::printf("FAILED: recall %.1f %% is below %.1f %%\n", recall * 100.0, options_.minRecall * 100.0);
        failed = true;
    }
    return failed ? 1 : 0;
}

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const auto value = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
        if (argument == "--toolkit") {
            const std::string toolkit = value();
            if (toolkit != "gtk" && toolkit != "qt") return false;
            options.toolkit = toolkit == "gtk" ? Toolkit::gtk : Toolkit::qt;
        } else if (argument == "--pace") {
            options.paceMs = std::atof(value().c_str());
        } else if (argument == "--words") {
            options.words = static_cast<std::size_t>(std::atol(value().c_str()));
        } else if (argument == "--seed") {
            options.seed = static_cast<unsigned>(std::atol(value().c_str()));
        } else if (argument == "--min-recall") {
            options.minRecall = std::atof(value().c_str());
        } else if (argument == "--sentences") {
            options.sentences = value();
        } else if (argument == "--busy") {
            options.busy = true;
        } else if (argument == "--perturb") {
            options.perturb = true;
        } else {
            return false;
        }
    }
    return options.paceMs >= 10.0 && options.words > 0;
}

}  // namespace
}  // namespace tarvelo::desktop::testing

int main(int argc, char** argv) {
    using namespace tarvelo::desktop::testing;
    Options options;
    if (!parse(argc, argv, options)) {
        std::cerr << "usage: tarvelo_typing_stress [--toolkit gtk|qt] [--pace MS] [--words N] [--busy] [--perturb]\n"
                     "                             [--seed N] [--min-recall FRACTION] [--sentences FILE]\n";
        return 2;
    }
    // The typist's connection lives on a thread of its own.
    XInitThreads();
    return StressRun(options).run();
}
