// The user's preferences in memory, and the settings file "Dvx.ini" that keeps
// them: plain lines addressed by number (line 0 is not a setting).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace dalvex {

inline constexpr int SettingsFileLines = 32;

struct FontSetting {
    std::string name;
    int size = 10;
    bool bold = false;
    std::int32_t color = 0;  // 0x00BBGGRR, or 0x80000000 + a system colour index
};

// The ranges the settings dialog and the settings file accept: a level
// between 0 and 0.2 (both excluded), 3 to 9 significant digits.
inline bool ValidSignificanceLevel(double level) {
    return level > 0 && level < 0.2;
}
inline bool ValidSignificantDigits(int digits) {
    return digits > 2 && digits < 10;
}

struct SettingsValues {
    std::string DataFolder;  // with a trailing separator; empty until a folder was used
    double SignificanceLevel = 0.05;
    int SignificantDigits = 4;
    FontSetting sheetFont{"DejaVu Sans Mono", 10, false, 0};
    FontSetting resultsFont{"DejaVu Sans Mono", 10, false, 0};
    FontSetting GraphFont{"DejaVu Sans", 9, false, 0};
    bool maximized = false;
    int columnWidth = 68;
    int rowHeight = 16;
    // Lower panels, upper panels, captions, (kept, unused), explanations: the
    // "Стандарт" scheme.
    std::array<std::int32_t, 5> dialogColors{0xFF0000, 0x008000, 0x0000FF, 0x800000, 0x800000};
    bool macroSwitch = false;
    int windowWidth = 0;  // 0: the platform's choice
    int windowHeight = 0;
    int reservedGraphHeight = 0;
    // The user's locale separator, used by every printed number.
    char decimalSeparator = '.';
};

// A complete file of default lines.
std::vector<std::string> DefaultSettingsLines(const SettingsValues& defaults = {});

// Reads the start-up lines (1..23, 28..31) into `values`. Lines that are
// missing, unreadable or out of their range leave the value as it was.
void ApplySettingsLines(const std::vector<std::string>& lines, SettingsValues& values);

// Replaces lines 1, 16, 29, 30 (what the program writes when it closes).
void PutCloseLines(std::vector<std::string>& lines, const SettingsValues& values);

// Replaces lines 1..28 (the "Запомнить" command).
void PutRememberLines(std::vector<std::string>& lines, const SettingsValues& values);

// Pads a short file with default lines up to SettingsFileLines; returns
// whether anything was added.
bool CompleteSettingsLines(std::vector<std::string>& lines);

struct SettingsFileResult {
    bool ok = true;
    std::string error;  // the system's error text when !ok
};

// Reads a cp1251 CR LF file into UTF-8 lines.
SettingsFileResult ReadLinesFile(const std::string& path, std::vector<std::string>& lines);
// Writes UTF-8 lines as a cp1251 CR LF file.
SettingsFileResult WriteLinesFile(const std::string& path, const std::vector<std::string>& lines);

}  // namespace dalvex
