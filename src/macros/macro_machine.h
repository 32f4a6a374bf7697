// The keyboard macros' recorder and player: a state machine fed with the
// program's own key events and the player's timer ticks. It decides which
// keys are swallowed, what is recorded, what is played and when; the window
// layer only turns platform key events into KeyRecords, shows the dialogs and
// the "MACRO" indicator, runs the 100 ms timer and delivers played keys to the
// program's own windows (never to other applications).
#pragma once

#include <string>

#include "macros/macro_file.h"

namespace dalvex {

// 0 idle, 1 recording, 2 recording paused, 3 playing (waiting for the next
// tick), 4 playback paused at a pause point, 5 playing (inside a tick).
enum class MacroState { Idle = 0, Recording, RecordingPaused, Playing, PlaybackPaused, InTick };

enum class MacroIndicator { Hidden, Red, Blue };

// The execution dialog's answer: 0 cancelled, 1..10 a macro, 11 "Повторить="
// with the count typed.
struct ExecutionAnswer {
    int button = 0;
    int count = 0;
};

// What the machine needs from around it.
class MacroHost {
  public:
    virtual ~MacroHost() = default;
    // "Формирование макрокоманд": 0 cancelled, otherwise the macro number.
    virtual int DefinitionDialog() = 0;
    virtual ExecutionAnswer ExecutionDialog() = 0;
    virtual void ShowIndicator(MacroIndicator indicator) = 0;
    virtual void StartTimer(int milliseconds) = 0;
    virtual void StopTimer() = 0;
    // A played key for the program's window that has the focus: a release
    // for Up, Down and F1..F9, a press for every other key, as recorded.
    virtual void PlayKey(const KeyRecord& record, bool asRelease) = 0;
    virtual void Beep() = 0;
    virtual void Notice(const std::string& text) = 0;
};

inline constexpr int MacroTickMilliseconds = 100;
inline constexpr const char* NoMacroToRepeatNotice =
    "!НЕТ МАКРОКОМАНДЫ ДЛЯ ПОВТОРА - СНАЧАЛА ВЫПОЛНИТЕ МАКРОКОМАНДУ!";
inline constexpr const char* RepeatCountNotice = "!ЧИСЛО ПОВТОРЕНИЙ ДОЛЖНО БЫТЬ БОЛЬШЕ 1!";
inline constexpr const char* BrokenMacroNotice =
    "!ФАЙЛ МАКРОКОМАНДЫ ИСПОРЧЕН - ИСПОЛНЕНИЕ ПРЕКРАЩЕНО!";
inline constexpr const char* MissingMacroNotice = "!МАКРОКОМАНДА НЕ ОПРЕДЕЛЕНА!";

class MacroMachine {
  public:
    MacroMachine(MacroHost& host, std::string folder) : host_(host), folder_(std::move(folder)) {}

    // Where the macro files are ("St<n>.mc"), with a trailing separator.
    void SetFolder(std::string folder) { folder_ = std::move(folder); }

    // One key event of the program's windows. Returns whether it is
    // swallowed (not passed on to the windows).
    bool OnKey(const KeyRecord& key);
    // The player's timer ran out.
    void Tick();

    MacroState state() const { return state_; }
    int lastPlayed() const { return lastPlayed_; }
    int repeatsLeft() const { return repeats_; }
    int recording() const { return recordingNumber_; }

  private:
    void Define();
    void Execute();
    void StartPlayback(int number);
    void Stop();
    void EndBroken();
    // Reads the next record to play; false when playback ended.
    bool NextRecord(KeyRecord& record);

    MacroHost& host_;
    std::string folder_;
    MacroState state_ = MacroState::Idle;
    MacroFile file_;
    int lastPlayed_ = 0;
    int repeats_ = 0;
    int recordingNumber_ = 0;
};

}  // namespace dalvex
