// Macro files "St<n>.mc" in the program folder (n = 1..10): a plain sequence
// of 6-byte records, little-endian, no header: 2 bytes the virtual-key code,
// 4 bytes the key-message data (repeat count in bits 0-15, scan code in bits
// 16-23, extended key bit 24, Alt held bit 29, previous state bit 30, key
// release bit 31). And "StMc.ini": lines 0..9 the macro names, line 10 the
// last repeat count entered.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace dalvex {

inline constexpr int MacroCount = 10;
inline constexpr int MacroRecordBytes = 6;
inline constexpr const char* MacroNamesFileName = "StMc.ini";

// Virtual-key codes the rules name.
namespace vk {
inline constexpr std::uint16_t Backspace = 8, Tab = 9, Enter = 13, Up = 38, Down = 40;
inline constexpr std::uint16_t F1 = 112, F2 = 113, F3 = 114, F4 = 115, F9 = 120;
inline constexpr std::uint16_t Digit0 = 48, Digit9 = 57;
}  // namespace vk

inline constexpr std::uint32_t AltHeldBit = 1u << 29;
inline constexpr std::uint32_t PreviousStateBit = 1u << 30;
inline constexpr std::uint32_t ReleaseBit = 1u << 31;

struct KeyRecord {
    std::uint16_t key = 0;
    std::uint32_t data = 0;
    bool operator==(const KeyRecord&) const = default;

    bool altHeld() const { return (data & AltHeldBit) != 0; }
    bool released() const { return (data & ReleaseBit) != 0; }
    // Alt held and the key going down.
    bool altPress() const { return altHeld() && !released(); }
    // No Alt, no auto-repeat, not a release: bits 28 to 31 all clear.
    bool plainPress() const { return (data & 0xF0000000u) == 0; }
};

// A key press's data as the platform delivers it: repeat count 1, the scan
// code, and the Alt bit when Alt is held.
KeyRecord KeyPress(std::uint16_t key, std::uint8_t scanCode = 0, bool alt = false);

// Keys a recording keeps: a plain press of Backspace, Tab, a code from 13 to
// 143, or 188, 190, 219, 221; and Alt+F4 pressed.
bool RecordableKey(const KeyRecord& record);

// "St3.mc" in the folder.
std::string MacroFilePath(const std::string& folder, int number);

void AppendRecord(std::string& bytes, const KeyRecord& record);
// Whole records from the bytes; a cut-short tail is left out (see the flag).
std::vector<KeyRecord> ParseRecords(const std::string& bytes, bool* cutShort = nullptr);

// A macro file open for recording (truncated) or for playing.
class MacroFile {
  public:
    bool Create(const std::string& path);
    bool OpenForPlaying(const std::string& path);
    void Close();
    bool isOpen() const { return stream_.is_open(); }

    bool Append(const KeyRecord& record);
    enum class Read { Record, End, CutShort };
    Read Next(KeyRecord& record);
    void Rewind();

  private:
    std::fstream stream_;
};

// "StMc.ini": ten names and the repeat count; a file that cannot be read
// gives empty names and a count of 1 (and `ok` false).
struct MacroNames {
    std::vector<std::string> names = std::vector<std::string>(MacroCount);
    std::string repeatCount = "1";
    bool ok = true;
};
MacroNames ReadMacroNames(const std::string& folder);
bool WriteMacroNames(const std::string& folder, const MacroNames& names);

}  // namespace dalvex
