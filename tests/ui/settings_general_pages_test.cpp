// SPDX-License-Identifier: GPL-3.0-or-later
// The General, Auto Switch and Hotkeys pages: their controls write straight into the settings and follow
// every change made elsewhere (the menu, a refused permission, an expired pause).

#include <optional>
#include <string>

#include <QCheckBox>
#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSlider>

#include "app/ui/auto_switch_settings_view.h"
#include "app/ui/chord_recorder.h"
#include "app/ui/general_settings_view.h"
#include "app/ui/hotkeys_settings_view.h"
#include "app/ui/key_cap.h"
#include "app/ui/palette.h"
#include "app/ui/symbol_label.h"
#include "app/ui/window_colors.h"
#include "settings_window_harness.h"
#include "store/defaults_keys.h"

namespace tarvelo::ui::testing {
namespace {

// The session's defaults, as a store that could not write its file would present them.
class UnwritableDefaults final : public DefaultsStore {
public:
    explicit UnwritableDefaults(DefaultsStore& inner) : inner_(inner) {}

    void registerDefaults(const DefaultsValues& values) override { inner_.registerDefaults(values); }
    std::optional<DefaultsValue> object(std::string_view key) const override { return inner_.object(key); }
    void setObject(std::string_view key, std::optional<DefaultsValue> value) override {
        inner_.setObject(key, std::move(value));
    }
    std::optional<std::string> problem() const override { return problem_; }

    std::optional<std::string> problem_;

private:
    DefaultsStore& inner_;
};

class GeneralPageTest : public SettingsWindowHarness {
protected:
    GeneralSettingsView* page() { return select<GeneralSettingsView>(SettingsSection::general); }
    QString pauseStatus() const { return window->findChild<QLabel*>("pauseStatus")->text(); }
    QPushButton* pauseButton() const { return window->findChild<QPushButton*>("pauseButton"); }
    QCheckBox* toggle(const char* name) const { return window->findChild<QCheckBox*>(name); }
};

QString shortTime(double seconds) {
    return QLocale::system().toString(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(seconds * 1000.0)).time(),
                                      QLocale::ShortFormat);
}

TEST_F(GeneralPageTest, PauseBlockAndSettingsAgreeWhicheverSideChanges) {
    ASSERT_NE(page(), nullptr);
    EXPECT_EQ(pauseStatus(), "Automatic correction is active");
    EXPECT_EQ(pauseButton()->text(), "Pause for 5 Minutes");

    const double pressedAt = session.clock.now();
    click(pauseButton());
    ASSERT_TRUE(session.settings.pauseUntil.get().has_value());
    EXPECT_DOUBLE_EQ(*session.settings.pauseUntil.get(), pressedAt + SettingsManager::kPauseDuration);
    EXPECT_EQ(pauseStatus(), "Paused until " + shortTime(pressedAt + SettingsManager::kPauseDuration));
    EXPECT_EQ(pauseButton()->text(), "Resume");
    screenshot("settings_general_paused");

    click(pauseButton());
    EXPECT_FALSE(session.settings.pauseUntil.get().has_value());
    EXPECT_EQ(pauseStatus(), "Automatic correction is active");

    // The menu pauses; then the pause runs out with nobody touching the window.
    session.settings.pause();
    EXPECT_EQ(pauseButton()->text(), "Resume");
    session.wait(SettingsManager::kPauseDuration + 1.5);
    EXPECT_EQ(pauseStatus(), "Automatic correction is active");
    EXPECT_EQ(pauseButton()->text(), "Pause for 5 Minutes");
}

TEST_F(GeneralPageTest, TogglesWriteTheirSettingsAndFollowThem) {
    ASSERT_NE(page(), nullptr);

    // Turning notifications on asks the notification centre; a refusal turns the toggle off again.
    click(toggle("notificationToggle"));
    EXPECT_TRUE(session.settings.showNotification.get());
    EXPECT_EQ(session.notificationCenter.authorizationRequests(), 1);
    session.notificationCenter.answerAuthorization(false);
    EXPECT_FALSE(session.settings.showNotification.get());
    EXPECT_FALSE(toggle("notificationToggle")->isChecked());
    click(toggle("notificationToggle"));
    session.notificationCenter.answerAuthorization(true);
    click(toggle("notificationToggle"));
    EXPECT_FALSE(session.settings.showNotification.get());
    EXPECT_EQ(session.notificationCenter.authorizationRequests(), 2);  // turning it off asks nothing

    const struct {
        const char* toggle;
        Observable<bool>& setting;
    } cases[] = {
        {"menuBarIconToggle", session.settings.showMenuBarIcon},
        {"autoSwitchToggle", session.settings.isAutoSwitchEnabled},
        {"playSoundToggle", session.settings.playSound},
    };
    for (const auto& binding : cases) {
        SCOPED_TRACE(binding.toggle);
        const bool before = binding.setting.get();
        EXPECT_EQ(toggle(binding.toggle)->isChecked(), before);
        click(toggle(binding.toggle));
        EXPECT_EQ(binding.setting.get(), !before);
        binding.setting.set(before);
        EXPECT_EQ(toggle(binding.toggle)->isChecked(), before);
    }
}

TEST_F(GeneralPageTest, ShowsTheLoginItemErrorOnlyWhileThereIsOne) {
    ASSERT_NE(page(), nullptr);
    EXPECT_FALSE(visible<SymbolLabel>("launchAtLoginError"));

    session.loginItems.setFailure("The autostart folder is read-only.");
    click(toggle("launchAtLoginToggle"));
    EXPECT_FALSE(toggle("launchAtLoginToggle")->isChecked());
    auto* error = visible<SymbolLabel>("launchAtLoginError");
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->text(), "The autostart folder is read-only.");
    EXPECT_EQ(error->color(), window_colors::warningText(window->palette()));
    screenshot("settings_general_login_error");

    session.loginItems.setFailure(std::nullopt);
    click(toggle("launchAtLoginToggle"));
    EXPECT_TRUE(session.loginItems.isEnabled());
    EXPECT_TRUE(toggle("launchAtLoginToggle")->isChecked());
    EXPECT_FALSE(visible<SymbolLabel>("launchAtLoginError"));
}

TEST_F(GeneralPageTest, WarnsAtTheTopWhenTheSettingsCannotBeKept) {
    UnwritableDefaults defaults(session.defaults);
    DesktopContext unwritable{session.app, navigation, defaults, KeyLabels::pc()};
    window = std::make_unique<SettingsWindow>(unwritable);
    ASSERT_NE(page(), nullptr);
    EXPECT_FALSE(visible<SymbolLabel>("storageProblem"));

    defaults.problem_ = "Settings cannot be saved: /home/user/.config/tarvelo is not writable. Changes last "
                        "until Tarvelo quits.";
    session.wait(AppState::kStatusInterval + 0.1);
    auto* warning = visible<SymbolLabel>("storageProblem");
    ASSERT_NE(warning, nullptr);
    EXPECT_EQ(warning->text().toStdString(), *defaults.problem_);
    EXPECT_EQ(warning->color(), window_colors::warningText(window->palette()));
    EXPECT_LT(warning->mapTo(window.get(), QPoint()).y(),
              toggle("launchAtLoginToggle")->mapTo(window.get(), QPoint()).y());
    screenshot("settings_general_storage_problem");
    window.reset();
}

class AutoSwitchPageTest : public SettingsWindowHarness {
protected:
    QSlider* slider() const { return window->findChild<QSlider*>("sensitivitySlider"); }
    QString threshold() const { return window->findChild<QLabel*>("thresholdText")->text(); }
};

TEST_F(AutoSwitchPageTest, SliderWritesEveryPositionAndShowsTheTruncatedPercentage) {
    ASSERT_NE(select<AutoSwitchSettingsView>(SettingsSection::autoSwitch), nullptr);
    EXPECT_EQ(slider()->value(), 720);
    EXPECT_EQ(threshold(), "Current threshold: 72%");

    int stores = 0;
    const Subscription counting = session.settings.sensitivity.subscribe([&](const double&) { ++stores; });
    session.settings.sensitivity.set(0.658);
    EXPECT_EQ(slider()->value(), 658);
    EXPECT_EQ(stores, 1);  // showing it stored nothing more

    QTest::keyClick(slider(), Qt::Key_Right);
    EXPECT_DOUBLE_EQ(session.settings.sensitivity.get(), 0.659);
    EXPECT_EQ(threshold(), "Current threshold: 65%");
    QTest::keyClick(slider(), Qt::Key_Right);
    EXPECT_EQ(threshold(), "Current threshold: 66%");

    // Dragged to the end, every position on the way is stored.
    const int before = stores;
    QTest::keyClick(slider(), Qt::Key_PageUp);
    QTest::keyClick(slider(), Qt::Key_PageUp);
    EXPECT_EQ(stores, before + 2);
    QTest::keyClick(slider(), Qt::Key_End);
    EXPECT_DOUBLE_EQ(session.settings.sensitivity.get(), 1.0);
    EXPECT_EQ(threshold(), "Current threshold: 100%");
    QTest::keyClick(slider(), Qt::Key_Home);
    EXPECT_EQ(threshold(), "Current threshold: 0%");
}

TEST_F(AutoSwitchPageTest, CorrectionToggleFollowsTheSettingBothWays) {
    ASSERT_NE(select<AutoSwitchSettingsView>(SettingsSection::autoSwitch), nullptr);
    auto* toggle = window->findChild<QCheckBox*>("autoSwitchToggle");
    EXPECT_TRUE(toggle->isChecked());

    click(toggle);
    EXPECT_FALSE(session.settings.isAutoSwitchEnabled.get());
    EXPECT_EQ(session.app.operationalStatus().get(), OperationalStatus::disabled);
    session.settings.isAutoSwitchEnabled.set(true);
    EXPECT_TRUE(toggle->isChecked());
}

TEST_F(AutoSwitchPageTest, LayoutSwitchToggleIsOffUntilTurnedOnAndFollowsTheSettingBothWays) {
    ASSERT_NE(select<AutoSwitchSettingsView>(SettingsSection::autoSwitch), nullptr);
    auto* toggle = window->findChild<QCheckBox*>("switchLayoutToggle");
    ASSERT_NE(toggle, nullptr);
    EXPECT_EQ(toggle->accessibleName(), "Switch the layout after a correction");
    EXPECT_EQ(toggle->accessibleDescription(), window->findChild<QLabel*>("switchLayoutDetail")->text());
    EXPECT_FALSE(toggle->isChecked());

    click(toggle);
    EXPECT_TRUE(session.settings.switchLayoutAfterCorrection.get());
    EXPECT_TRUE(session.settings.isAutoSwitchEnabled.get());  // the other switch is left alone
    session.settings.switchLayoutAfterCorrection.set(false);
    EXPECT_FALSE(toggle->isChecked());
}

class HotkeysPageTest : public SettingsWindowHarness {};

TEST_F(HotkeysPageTest, ListsTheShortcutsWithTheDesktopsKeyNames) {
    ASSERT_NE(select<HotkeysSettingsView>(SettingsSection::hotkeys), nullptr);
    QStringList caps;
    for (KeyCap* cap : window->findChildren<KeyCap*>()) caps << cap->text();
    EXPECT_EQ(caps, QStringList({"Alt+Space", "Ctrl+Alt+Space", "Ctrl+Z"}));
    EXPECT_TRUE(allVisible<SymbolLabel>("chordUnavailable").isEmpty());
}

TEST_F(HotkeysPageTest, WarnsUnderAShortcutThatAnotherProgramHolds) {
    context.unavailableChords = [] { return std::vector<std::string>{"Ctrl+Alt+Space"}; };
    ASSERT_NE(select<HotkeysSettingsView>(SettingsSection::hotkeys), nullptr);

    const QList<SymbolLabel*> warnings = allVisible<SymbolLabel>("chordUnavailable");
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0]->text().startsWith("Ctrl+Alt+Space is held by another program"));
    EXPECT_EQ(warnings[0]->color(), window_colors::warningText(window->palette()));
    // Between its own row and the next block.
    const QList<KeyCap*> caps = window->findChildren<KeyCap*>();
    const auto top = [this](QWidget* widget) { return widget->mapTo(window.get(), QPoint()).y(); };
    EXPECT_GT(top(warnings[0]), top(caps[1]));
    EXPECT_LT(top(warnings[0]), top(caps[2]));
    screenshot("settings_hotkeys_chord_unavailable");
}

TEST_F(HotkeysPageTest, RecordsANewChordAndRefusesOnesThatCannotServe) {
    ASSERT_NE(select<HotkeysSettingsView>(SettingsSection::hotkeys), nullptr);
    const QList<ChordRecorder*> recorders = allVisible<ChordRecorder>("chordRecorder");
    const QList<QPushButton*> resets = allVisible<QPushButton>("chordReset");
    ASSERT_EQ(recorders.size(), 2);
    ASSERT_EQ(resets.size(), 2);
    EXPECT_EQ(recorders[1]->accessibleName(), "Record a new shortcut for Convert Last Word");
    EXPECT_FALSE(resets[1]->isEnabled());
    const auto caps = [this] {
        QStringList texts;
        for (KeyCap* cap : window->findChildren<KeyCap*>()) texts << cap->text();
        return texts;
    };
    const auto refusal = [this] {
        SymbolLabel* shown = visible<SymbolLabel>("chordRefused");
        return shown == nullptr ? QString() : shown->text();
    };

    // While recording, the shortcuts are ordinary keys, so the chord reaches the page.
    click(recorders[1]);
    EXPECT_TRUE(recorders[1]->isRecording());
    EXPECT_TRUE(session.keyboard.chords().empty());
    QTest::keyClick(recorders[1], Qt::Key_Space, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(recorders[1]->isRecording());
    EXPECT_EQ(session.keyboard.chords().size(), 2u);
    EXPECT_EQ(caps(), QStringList({"Alt+Space", "Ctrl+Shift+Space", "Ctrl+Z"}));
    EXPECT_EQ(session.defaults.stringArrayForKey(defaults_keys::convertLastWordChord),
              (DefaultsStringArray{"Ctrl", "Shift", "Space"}));
    EXPECT_TRUE(resets[1]->isEnabled());
    EXPECT_EQ(refusal(), QString());

    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        const char* message;
    } refused[] = {
        {Qt::Key_A, Qt::ShiftModifier, "Shift+A would take a key away from typing."},
        {Qt::Key_Z, Qt::ControlModifier, "Ctrl+Z undoes the latest correction."},
        {Qt::Key_Space, Qt::ControlModifier | Qt::ShiftModifier,
         "Ctrl+Shift+Space is already the shortcut for \u201cConvert Last Word\u201d."},
        {Qt::Key_Return, Qt::ControlModifier, "This key cannot be part of a shortcut."},
    };
    for (const auto& c : refused) {
        click(recorders[0]);
        QTest::keyClick(recorders[0], static_cast<Qt::Key>(c.key), c.modifiers);
        EXPECT_TRUE(refusal().startsWith(QString::fromUtf8(c.message))) << refusal().toStdString();
        EXPECT_EQ(session.settings.convertSelectionChord.get(), SettingsManager::kDefaultConvertSelectionChord);
    }
    screenshot("settings_hotkeys_chord_refused");

    // Modifiers alone keep it waiting, Esc changes nothing, Backspace brings the default back.
    click(recorders[1]);
    EXPECT_EQ(refusal(), QString());
    QTest::keyClick(recorders[1], Qt::Key_Control, Qt::ControlModifier);
    EXPECT_TRUE(recorders[1]->isRecording());
    QTest::keyClick(recorders[1], Qt::Key_Escape);
    EXPECT_FALSE(recorders[1]->isRecording());
    EXPECT_EQ(caps()[1], "Ctrl+Shift+Space");
    click(recorders[1]);
    QTest::keyClick(recorders[1], Qt::Key_Backspace);
    EXPECT_EQ(caps()[1], "Ctrl+Alt+Space");
    EXPECT_FALSE(session.defaults.object(defaults_keys::convertLastWordChord));
    EXPECT_FALSE(resets[1]->isEnabled());

    // The reset button does the same; F5 alone is a shortcut.
    click(recorders[0]);
    QTest::keyClick(recorders[0], Qt::Key_F5);
    EXPECT_EQ(caps()[0], "F5");
    click(resets[0]);
    EXPECT_EQ(caps()[0], "Alt+Space");

    // Closing the window while recording gives the shortcuts back.
    click(recorders[0]);
    EXPECT_TRUE(session.keyboard.chords().empty());
    window->hide();
    EXPECT_FALSE(recorders[0]->isRecording());
    EXPECT_EQ(session.keyboard.chords().size(), 2u);
}

TEST_F(HotkeysPageTest, KeepsTheOldChordWhenAnotherProgramHoldsTheNewOne) {
    context.unavailableChords = [] { return std::vector<std::string>{"Ctrl+Shift+Space"}; };
    ASSERT_NE(select<HotkeysSettingsView>(SettingsSection::hotkeys), nullptr);
    ChordRecorder* recorder = allVisible<ChordRecorder>("chordRecorder").value(1);
    click(recorder);
    QTest::keyClick(recorder, Qt::Key_Space, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(session.settings.convertLastWordChord.get(), SettingsManager::kDefaultConvertLastWordChord);
    SymbolLabel* refused = visible<SymbolLabel>("chordRefused");
    ASSERT_NE(refused, nullptr);
    EXPECT_TRUE(refused->text().startsWith("Ctrl+Shift+Space is held by another program")) << refused->text().toStdString();
    EXPECT_TRUE(allVisible<SymbolLabel>("chordUnavailable").isEmpty());
}

}  // namespace
}  // namespace tarvelo::ui::testing
