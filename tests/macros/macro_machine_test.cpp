// The recorder and player against a host that notes what it is asked to do,
// over macro files in a folder of the test's own.
#include "macros/macro_machine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/temp_folder.h"

namespace dalvex {
namespace {

namespace fs = std::filesystem;

struct FakeHost : MacroHost {
    int DefinitionDialog() override { return definition; }
    ExecutionAnswer ExecutionDialog() override { return execution; }
    void ShowIndicator(MacroIndicator i) override { indicator = i; }
    void StartTimer(int ms) override { timer = ms; }
    void StopTimer() override { timer = 0; }
    void PlayKey(const KeyRecord& r, bool asRelease) override {
        played.push_back(r);
        releases.push_back(asRelease);
    }
    void Beep() override { ++beeps; }
    void Notice(const std::string& text) override { notices.push_back(text); }

    int definition = 0;
    ExecutionAnswer execution;
    MacroIndicator indicator = MacroIndicator::Hidden;
    int timer = 0;
    std::vector<KeyRecord> played;
    std::vector<bool> releases;
    int beeps = 0;
    std::vector<std::string> notices;
};

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

KeyRecord Alt(std::uint16_t key) {
    return KeyPress(key, 0, true);
}

class MacroTest : public ::testing::Test {
  protected:
    // Ticks while the player runs (at most `limit` times).
    void Play(int limit = 100) {
        for (int i = 0; i < limit && machine.state() == MacroState::Playing; ++i) {
            EXPECT_EQ(host.timer, MacroTickMilliseconds);
            machine.Tick();
        }
    }
    void Record(int number, const std::vector<KeyRecord>& keys) {
        host.definition = number;
        EXPECT_TRUE(machine.OnKey(Alt(vk::F1)));
        for (const KeyRecord& k : keys)
            machine.OnKey(k);
        EXPECT_TRUE(machine.OnKey(Alt(vk::F3)));
    }
    std::vector<std::uint16_t> PlayedKeys() const {
        std::vector<std::uint16_t> keys;
        for (const KeyRecord& r : host.played)
            keys.push_back(r.key);
        return keys;
    }

    TempFolder folder{"macros"};
    FakeHost host;
    MacroMachine machine{host, folder.WithSlash()};
};

// "1", Enter, "2", Enter into macro 3: the bytes of a hand-made St3.mc.
const std::vector<KeyRecord> OneTwo = {KeyPress('1', 0x02), KeyPress(vk::Enter, 0x1C),
                                       KeyPress('2', 0x03), KeyPress(vk::Enter, 0x1C)};

TEST_F(MacroTest, RecordingWritesTheRecordFormatAndAltDigitPlaysItBack) {
    const std::string handMade = Bytes(fs::path(DALVEX_MACROS_DATA) / "St3.mc");
    bool cut = true;
    EXPECT_EQ(ParseRecords(handMade, &cut), OneTwo);
    EXPECT_FALSE(cut);

    host.definition = 3;
    EXPECT_TRUE(machine.OnKey(Alt(vk::F1)));
    EXPECT_EQ(machine.state(), MacroState::Recording);
    EXPECT_EQ(host.indicator, MacroIndicator::Red);
    for (const KeyRecord& k : OneTwo)
        EXPECT_FALSE(machine.OnKey(k));                 // the keys still reach the windows
    machine.OnKey({'3', 0x80000001u | (0x04u << 16)});  // a release is not kept
    EXPECT_TRUE(machine.OnKey(Alt(vk::F3)));
    EXPECT_EQ(host.indicator, MacroIndicator::Hidden);
    EXPECT_EQ(Bytes(folder / "St3.mc"), handMade);

    EXPECT_TRUE(machine.OnKey(Alt('3')));
    Play();
    EXPECT_EQ(machine.state(), MacroState::Idle);
    EXPECT_EQ(machine.lastPlayed(), 3);
    ASSERT_EQ(host.played.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(host.played[i].key, OneTwo[i].key);
        // Bits 16-19 of a played key's data are set to B, the others kept.
        EXPECT_EQ(host.played[i].data, (OneTwo[i].data & ~0xF0000u) | 0xB0000u);
        EXPECT_FALSE(host.releases[i]);
    }
    EXPECT_EQ(host.timer, 0);
}

TEST_F(MacroTest, WhichKeysARecordingKeeps) {
    struct Case {
        KeyRecord key;
        bool kept;
    };
    const Case cases[] = {
        {KeyPress(vk::Backspace), true},
        {KeyPress(vk::Tab), true},
        {KeyPress(12), false},
        {KeyPress(13), true},
        {KeyPress(143), true},
        {KeyPress(144), false},
        {KeyPress(188), true},
        {KeyPress(189), false},
        {KeyPress(190), true},
        {KeyPress(219), true},
        {KeyPress(221), true},
        {Alt(vk::F4), true},
        {Alt('A'), false},
        {{'A', 0x40000001u}, false},  // auto-repeat
        {{'A', 0x80000001u}, false},  // release
    };
    for (const Case& c : cases)
        EXPECT_EQ(RecordableKey(c.key), c.kept) << c.key.key << " " << c.key.data;
}

TEST_F(MacroTest, APausePointStopsPlaybackUntilAltF2) {
    host.definition = 5;
    machine.OnKey(Alt(vk::F1));
    machine.OnKey(KeyPress('1'));
    EXPECT_TRUE(machine.OnKey(Alt(vk::F2)));
    EXPECT_EQ(machine.state(), MacroState::RecordingPaused);
    EXPECT_EQ(host.indicator, MacroIndicator::Blue);
    machine.OnKey(KeyPress('7'));  // typed during the pause: not recorded
    EXPECT_TRUE(machine.OnKey(Alt(vk::F2)));
    EXPECT_EQ(host.indicator, MacroIndicator::Red);
    machine.OnKey(KeyPress('2'));
    machine.OnKey(Alt(vk::F3));
    EXPECT_EQ(ParseRecords(Bytes(folder / "St5.mc")).size(), 3u);

    machine.OnKey(Alt('5'));
    Play();
    EXPECT_EQ(machine.state(), MacroState::PlaybackPaused);
    EXPECT_EQ(PlayedKeys(), std::vector<std::uint16_t>{'1'});
    machine.Tick();  // no timer runs while paused
    EXPECT_EQ(host.played.size(), 1u);
    machine.OnKey(KeyPress('9'));  // the person's own input at the pause
    EXPECT_TRUE(machine.OnKey(Alt(vk::F2)));
    Play();
    EXPECT_EQ(PlayedKeys(), (std::vector<std::uint16_t>{'1', '2'}));
    EXPECT_EQ(machine.state(), MacroState::Idle);
}

TEST_F(MacroTest, RepeatPlaysTheLastMacroThatManyTimesAndRefusesWhatItCannot) {
    Record(2, {KeyPress('4'), KeyPress(vk::F9), KeyPress(vk::Down)});
    // Nothing played yet: "Повторить=" says so and plays nothing.
    host.execution = {11, 3};
    EXPECT_TRUE(machine.OnKey(Alt(vk::F2)));
    EXPECT_EQ(machine.state(), MacroState::Idle);
    EXPECT_EQ(host.notices, std::vector<std::string>{NoMacroToRepeatNotice});

    host.execution = {2, 0};
    machine.OnKey(Alt(vk::F2));
    Play();
    EXPECT_EQ(host.played.size(), 3u);
    // F1..F9 and the Up and Down arrows are played as releases.
    EXPECT_EQ(host.releases, (std::vector<bool>{false, true, true}));

    for (int count : {1, 0, -4}) {
        host.execution = {11, count};
        machine.OnKey(Alt(vk::F2));
        EXPECT_EQ(machine.state(), MacroState::Idle) << count;
    }
    EXPECT_EQ(host.notices.size(), 4u);
    EXPECT_EQ(host.notices.back(), RepeatCountNotice);
    EXPECT_EQ(host.played.size(), 3u);

    host.execution = {11, 3};
    machine.OnKey(Alt(vk::F2));
    Play();
    EXPECT_EQ(host.played.size(), 3u + 9u);
    EXPECT_EQ(machine.state(), MacroState::Idle);
    EXPECT_EQ(machine.lastPlayed(), 2);

    host.execution = {0, 0};  // cancelled
    machine.OnKey(Alt(vk::F2));
    EXPECT_EQ(machine.state(), MacroState::Idle);
}

TEST_F(MacroTest, AltDigitWhileRecordingIsIgnoredAndTheRecordingKept) {
    host.definition = 4;
    machine.OnKey(Alt(vk::F1));
    machine.OnKey(KeyPress('1'));
    EXPECT_TRUE(machine.OnKey(Alt('4')));  // would have opened St4.mc for reading
    EXPECT_EQ(host.beeps, 1);
    EXPECT_EQ(machine.state(), MacroState::Recording);
    machine.OnKey(KeyPress('2'));
    machine.OnKey(Alt(vk::F3));
    EXPECT_EQ(ParseRecords(Bytes(folder / "St4.mc")).size(), 2u);

    machine.OnKey(Alt('4'));
    EXPECT_TRUE(machine.OnKey(Alt('1')));  // while playing too
    EXPECT_EQ(host.beeps, 2);
    EXPECT_EQ(machine.lastPlayed(), 4);
}

TEST_F(MacroTest, BrokenOrMissingFilesEndPlaybackCleanly) {
    std::string cut;
    AppendRecord(cut, KeyPress('1'));
    cut += "\x32\x00\x01";
    std::ofstream(folder / "St6.mc", std::ios::binary) << cut;
    std::string unknown;
    AppendRecord(unknown, KeyPress('1'));
    AppendRecord(unknown, KeyPress(250));  // no key a recording keeps
    AppendRecord(unknown, KeyPress('2'));
    std::ofstream(folder / "St7.mc", std::ios::binary) << unknown;
    std::ofstream(folder / "St8.mc", std::ios::binary).flush();  // empty

    for (char digit : {'6', '7'}) {
        host.played.clear();
        host.notices.clear();
        machine.OnKey(Alt(digit));
        Play();
        EXPECT_EQ(machine.state(), MacroState::Idle) << digit;
        EXPECT_EQ(PlayedKeys(), std::vector<std::uint16_t>{'1'}) << digit;
        EXPECT_EQ(host.notices, std::vector<std::string>{BrokenMacroNotice}) << digit;
        EXPECT_EQ(host.timer, 0);
    }
    host.notices.clear();
    host.played.clear();
    host.execution = {8, 0};
    machine.OnKey(Alt(vk::F2));
    Play();
    host.execution = {11, 5};  // an empty macro repeated ends at once
    machine.OnKey(Alt(vk::F2));
    Play();
    EXPECT_TRUE(host.played.empty());
    EXPECT_EQ(machine.state(), MacroState::Idle);

    machine.OnKey(Alt('9'));  // never recorded
    EXPECT_EQ(machine.state(), MacroState::Idle);
    EXPECT_EQ(host.notices, std::vector<std::string>{MissingMacroNotice});
}

TEST_F(MacroTest, AltF3WhileIdleOnlyHidesTheIndicatorAndOtherKeysPass) {
    host.indicator = MacroIndicator::Blue;
    EXPECT_TRUE(machine.OnKey(Alt(vk::F3)));
    EXPECT_EQ(host.indicator, MacroIndicator::Hidden);
    EXPECT_EQ(machine.state(), MacroState::Idle);
    EXPECT_FALSE(machine.OnKey(KeyPress('1')));
    EXPECT_FALSE(machine.OnKey(Alt(vk::F4)));
    // Cancelled definition: nothing recorded, nothing created.
    host.definition = 0;
    EXPECT_TRUE(machine.OnKey(Alt(vk::F1)));
    EXPECT_EQ(machine.state(), MacroState::Idle);
    EXPECT_TRUE(fs::is_empty(folder.path()));
}

}  // namespace
}  // namespace dalvex
