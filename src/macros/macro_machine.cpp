#include "macros/macro_machine.h"

namespace dalvex {

namespace {

bool IsDigitKey(std::uint16_t key) {
    return key >= vk::Digit0 && key <= vk::Digit9;
}

// Keys a macro file may hold: what a recording keeps and its pause points.
bool PlayableRecord(const KeyRecord& r) {
    return RecordableKey(r) || (r.key == vk::F2 && r.altPress());
}

}  // namespace

bool MacroMachine::OnKey(const KeyRecord& key) {
    if (key.altPress()) {
        if (IsDigitKey(key.key)) {
            // Only an idle machine plays at once: while recording the file
            // being recorded must not be replaced, and a playing macro
            // finishes first.
            if (state_ != MacroState::Idle) {
                host_.Beep();
                return true;
            }
            repeats_ = 1;
            StartPlayback(key.key == vk::Digit0 ? 10 : key.key - vk::Digit0);
            return true;
        }
        switch (key.key) {
            case vk::F1:
                if (state_ == MacroState::Idle)
                    Define();
                return true;
            case vk::F2:
                switch (state_) {
                    case MacroState::Idle:
                        Execute();
                        break;
                    case MacroState::Recording:
                        // The press itself becomes the pause point.
                        state_ = MacroState::RecordingPaused;
                        file_.Append(key);
                        host_.ShowIndicator(MacroIndicator::Blue);
                        break;
                    case MacroState::RecordingPaused:
                        state_ = MacroState::Recording;
                        host_.ShowIndicator(MacroIndicator::Red);
                        break;
                    case MacroState::PlaybackPaused:
                        state_ = MacroState::Playing;
                        host_.ShowIndicator(MacroIndicator::Hidden);
                        host_.StartTimer(MacroTickMilliseconds);
                        break;
                    default:
                        break;
                }
                return true;
            case vk::F3:
                Stop();
                return true;
            default:
                break;
        }
    }
    if (state_ == MacroState::Recording && RecordableKey(key))
        file_.Append(key);
    return false;
}

void MacroMachine::Define() {
    const int number = host_.DefinitionDialog();
    if (number < 1 || number > MacroCount)
        return;
    if (!file_.Create(MacroFilePath(folder_, number))) {
        host_.Beep();
        return;
    }
    recordingNumber_ = number;
    state_ = MacroState::Recording;
    host_.ShowIndicator(MacroIndicator::Red);
}

void MacroMachine::Execute() {
    const ExecutionAnswer answer = host_.ExecutionDialog();
    if (answer.button == 11) {
        // "Повторить=" needs a macro played before and more than one round;
        // anything else plays nothing rather than a macro that does not exist.
        if (lastPlayed_ == 0) {
            host_.Notice(NoMacroToRepeatNotice);
            return;
        }
        if (answer.count <= 1) {
            host_.Notice(RepeatCountNotice);
            return;
        }
        repeats_ = answer.count;
        StartPlayback(lastPlayed_);
        return;
    }
    if (answer.button < 1 || answer.button > MacroCount)
        return;
    repeats_ = 1;
    StartPlayback(answer.button);
}

void MacroMachine::StartPlayback(int number) {
    lastPlayed_ = number;
    if (!file_.OpenForPlaying(MacroFilePath(folder_, number))) {
        host_.Notice(MissingMacroNotice);
        return;
    }
    state_ = MacroState::Playing;
    host_.StartTimer(MacroTickMilliseconds);
}

void MacroMachine::Stop() {
    file_.Close();
    host_.StopTimer();
    state_ = MacroState::Idle;
    recordingNumber_ = 0;
    host_.ShowIndicator(MacroIndicator::Hidden);
}

void MacroMachine::EndBroken() {
    Stop();
    host_.Notice(BrokenMacroNotice);
}

bool MacroMachine::NextRecord(KeyRecord& record) {
    // One rewind at most per tick: an empty file ends however many rounds
    // are left.
    for (int attempt = 0; attempt < 2; ++attempt) {
        switch (file_.Next(record)) {
            case MacroFile::Read::Record:
                if (!PlayableRecord(record)) {
                    EndBroken();
                    return false;
                }
                return true;
            case MacroFile::Read::CutShort:
                EndBroken();
                return false;
            case MacroFile::Read::End:
                if (repeats_ < 2) {
                    Stop();
                    return false;
                }
                --repeats_;
                file_.Rewind();
                break;
        }
    }
    Stop();
    return false;
}

void MacroMachine::Tick() {
    if (state_ != MacroState::Playing)
        return;
    host_.StopTimer();
    state_ = MacroState::InTick;
    KeyRecord record;
    if (!NextRecord(record))
        return;
    if (record.key == vk::F2 && record.altPress()) {
        state_ = MacroState::PlaybackPaused;
        host_.ShowIndicator(MacroIndicator::Blue);
        return;
    }
    if (!record.altHeld())
        record.data = (record.data & ~0x000F0000u) | 0x000B0000u;
    const bool asRelease = record.key == vk::Up || record.key == vk::Down ||
                           (record.key >= vk::F1 && record.key <= vk::F9);
    host_.PlayKey(record, asRelease);
    // Delivering the key may have let Alt+F3 stop the machine.
    if (state_ != MacroState::InTick)
        return;
    state_ = MacroState::Playing;
    host_.StartTimer(MacroTickMilliseconds);
}

}  // namespace dalvex
