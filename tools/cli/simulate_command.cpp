// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "arguments.h"
#include "command_error.h"
#include "commands.h"
#include "platform/fake/simulated_session.h"
#include "simulation_script.h"
#include "text/characters.h"
#include "text/utf8.h"
#include "token_judge.h"

namespace tarvelo::cli {
namespace {

constexpr std::string_view kHelp = R"(Usage: tarvelo-cli simulate [--pace SECONDS] [--sensitivity S] [--signals none|system]

Runs Tarvelo's keyboard monitor and correction engine on a pretend desktop and
types standard input into a text field there, one line at a time, on a clock
that moves only as the script says. After each line it prints the field (the
caret is "|", a selection is between two "|"), the engine's status and the
correction that Ctrl+Z would undo.

Plain characters are typed as they stand, one key each, --pace seconds apart
(0.1 by default); the line break is not typed. After each line the clock moves
on 0.5 seconds, time for a word to be corrected (at once, or within 0.08 s) and
read back (0.12 s).
In braces:
  {delete}            the Backspace key ({backspace} too)
  {enter} {tab}       Return and Tab
  {alt+space}         Convert Selected Text
  {ctrl+alt+space}    Convert Last Word (the half-typed word, else the last
                      word if it is younger than 12 seconds)
  {ctrl+z}            Undo Last Correction (within 8 seconds, same application)
  {ctrl+c}            any other Ctrl chord: the word being typed is dropped
  {wait N}            let N seconds pass
  {select N}          select the N characters before the caret
  {app NAME}          switch to application NAME (its own field); {app} alone:
                      an application that reports no identifier. The first
                      field is in org.example.Editor; org.gnome.Terminal,
                      konsole and XTerm are excluded from correction.
  {password}          move to a password field in the same application
  {field}             back to the application's ordinary field
  {nothing}           no application and no field has focus
  {{                  a "{"

Options:
  --pace SECONDS       time between two keys of a line, 0 to 10 (default 0.1)
  --sensitivity S      confidence setting from 0 to 1 (default 0.72)
  --signals SOURCE     system (default): the hunspell dictionaries and the
                       built-in recogniser; none: the built-in lists only
  -h, --help           show this help

Example: printf 'ghbdtn \n' | tarvelo-cli simulate
  field: привет |
  status: Last word corrected
)";

constexpr double kSettleTime = 0.5;

class Simulation {
public:
    Simulation(const Signals& signals, double sensitivity, double pace)
        : session_({&signals.spellChecker(), &signals.recognizer()}), pace_(pace) {
        session_.settings.sensitivity.set(sensitivity);
        apply(step::SwitchApplication{SimulatedSession::kEditor});
    }

    void run(const Step& step) { std::visit([this](const auto& s) { apply(s); }, step); }
    void settle() { session_.wait(kSettleTime); }
    std::string report() const;

private:
    struct Fields {
        std::shared_ptr<FakeTextElement> ordinary = std::make_shared<FakeTextElement>();
        std::shared_ptr<FakeTextElement> password =
            std::make_shared<FakeTextElement>("AXTextField", "AXSecureTextField");
    };

    void apply(const step::Type& s) {
        for (const std::string_view character : text::characters(s.text)) {
            session_.keyboard.type(character);
            session_.wait(pace_);
        }
    }
    void apply(const step::Press& s) {
        switch (s.chord) {
            case step::Chord::deleteKey: session_.keyboard.pressDelete(); break;
            case step::Chord::convertSelection: session_.keyboard.pressChord(49, modifier_flag::kOption, " "); break;
            case step::Chord::convertLastWord:
                session_.keyboard.pressChord(49, modifier_flag::kOption | modifier_flag::kCommand, " ");
                break;
            case step::Chord::undo: session_.keyboard.pressChord(virtual_key::kZ, modifier_flag::kCommand, "z"); break;
            case step::Chord::copy: session_.keyboard.pressChord(8, modifier_flag::kCommand, "c"); break;
        }
        session_.wait(pace_);
    }
    void apply(const step::Wait& s) { session_.wait(s.seconds); }
    void apply(const step::SwitchApplication& s) {
        application_ = s.identifier;
        focus(false);
    }
    void apply(const step::FocusPassword&) { focus(true); }
    void apply(const step::FocusField&) { focus(false); }
    void apply(const step::FocusNothing&) {
        focused_ = nullptr;
        session_.desktop.focusNothing();
    }
    void focus(bool password) {
        Fields& fields = fields_[application_];
        passwordFocused_ = password;
        focused_ = password ? fields.password : fields.ordinary;
        session_.focus(application_, focused_);
    }
    void apply(const step::Select& s) {
        if (!focused_) return;
        const TextRange caret = focused_->selection();
        const std::string before = text::fromUtf16(text::toUtf16(focused_->text()).substr(0, caret.location));
        const std::vector<std::string_view> characters = text::characters(before);
        std::size_t units = 0;
        for (std::size_t i = characters.size() - std::min(s.characters, characters.size()); i < characters.size(); ++i) {
            units += text::utf16Length(characters[i]);
        }
        focused_->setSelection({caret.location - units, units});
    }

    SimulatedSession session_;
    double pace_;
    std::optional<std::string> application_;
    std::shared_ptr<FakeTextElement> focused_;
    bool passwordFocused_ = false;
    std::map<std::optional<std::string>, Fields> fields_;
};

std::string visible(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\r') {
            out += "\\r";
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::string Simulation::report() const {
    std::ostringstream out;
    const std::string application = application_ ? *application_ : "(no identifier)";
    if (!focused_) {
        out << "field: (nothing has focus)\n";
    } else if (passwordFocused_) {
        // What a password field shows.
        std::string dots;
        for (std::size_t i = 0; i < text::characterCount(focused_->text()); ++i) dots += "\u2022";
        out << "field: " << dots << "   [password field in " << application << "]\n";
    } else {
        out << "field: " << visible(focused_->markedText()) << "   [" << application << "]\n";
    }
    out << "status: " << session_.status() << '\n';
    const auto& correction = session_.app.engine.lastCorrection().get();
    if (correction) {
        char age[32];
        std::snprintf(age, sizeof age, "%.2f", session_.clock.now() - correction->timestamp);
        out << "last correction: " << correction->original << " -> " << correction->replacement << " ("
            << rawValue(correction->direction) << ", sent " << age << " s ago)\n";
    } else {
        out << "last correction: none\n";
    }
    return out.str();
}

double paceOption(const Arguments& parsed) {
    const auto value = parsed.option("pace");
    if (!value) return 0.1;
    double pace = 0.0;
    const auto [end, error] = std::from_chars(value->data(), value->data() + value->size(), pace);
    if (value->empty() || error != std::errc() || end != value->data() + value->size() || !(pace >= 0.0 && pace <= 10.0)) {
        throw CommandError(ErrorKind::usage, "--pace must be a number of seconds from 0 to 10, not '" + std::string(*value) + "'");
    }
    return pace;
}

}  // namespace

int runSimulate(std::span<const std::string_view> arguments, const Io& io) {
    const Arguments parsed =
        parseArguments(arguments, {.valueOptions = {"pace", "sensitivity", "signals"}, .acceptsOperands = false});
    if (parsed.help) {
        writeOutput(io.out, kHelp);
        return kExitSuccess;
    }
    const double pace = paceOption(parsed);
    const double sensitivity = sensitivityOption(parsed);
    const SignalSource source = signalSourceOption(parsed);

    // Every line is checked before anything runs, so that a mistake costs no half-written output.
    const std::string input = readWellFormedInput(io.in);
    std::vector<std::pair<std::string, std::vector<Step>>> lines;
    std::size_t number = 0;
    for (std::size_t start = 0; start < input.size();) {
        std::size_t end = input.find('\n', start);
        if (end == std::string::npos) end = input.size();
        std::string line = input.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        ++number;
        try {
            lines.emplace_back(line, parseSimulationLine(line));
        } catch (const CommandError& error) {
            throw CommandError(error.kind(), "line " + std::to_string(number) + ": " + error.what());
        }
        start = end + 1;
    }

    const Signals signals = makeSignals(source);
    Simulation simulation(signals, sensitivity, pace);
    std::string output;
    for (const auto& [line, steps] : lines) {
        for (const Step& step : steps) simulation.run(step);
        simulation.settle();
        output += "> " + visible(line) + '\n' + simulation.report() + '\n';
    }
    writeOutput(io.out, output);
    return kExitSuccess;
}

}  // namespace tarvelo::cli
