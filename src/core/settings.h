// The user's preferences in memory, and the settings file "Dvx.ini" that keeps
// them: plain lines addressed by number (line 0 is not a setting).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace dalvex {

inline constexpr int SettingsFileLines = 32;
// The line after the 32 addressed ones: "1" when every significance and
// critical value comes from the exact distribution laws. Written by
// "Запомнить"; a file without it keeps the approximations.
inline constexpr int ExactProbabilitiesLine = 32;

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
// The sheet's default column width and row height in pixels: below these the
// grid disappears, above them one cell fills the screen.
inline bool ValidColumnWidth(int pixels) {
    return pixels >= 8 && pixels <= 1000;
}
inline bool ValidRowHeight(int pixels) {
    return pixels >= 8 && pixels <= 200;
}
// 0x00BBGGRR, or 0x80000000 plus a system colour index (0 to 30).
inline bool ValidColor(std::int32_t color) {
    const auto bits = static_cast<std::uint32_t>(color);
    return bits <= 0xFFFFFFu || (bits >= 0x80000000u && bits <= 0x8000001Eu);
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
    // Significances and critical values from the exact laws instead of the
    // program's approximations ("Точные вероятности").
    bool exactProbabilities = false;
    int windowWidth = 0;  // 0: the platform's choice
    int windowHeight = 0;
    int reservedGraphHeight = 0;
    // The user's locale separator, used by every printed number.
    char decimalSeparator = '.';
};

// A complete file of default lines: the 32 addressed lines and line 32.
std::vector<std::string> DefaultSettingsLines(const SettingsValues& defaults = {});

// Reads the start-up lines (1..23, 28..32) into `values`. A missing line
// leaves the value as it was; a number line that does not read or lies
// outside its range gives the value its default, and its number is returned
// (in ascending order) so that start-up can say so once.
std::vector<int> ApplySettingsLines(const std::vector<std::string>& lines, SettingsValues& values);

// The one notice for the lines ApplySettingsLines refused.
std::string RefusedSettingsNotice(const std::vector<int>& lines);

// Replaces lines 1, 16, 29, 30 (what the program writes when it closes).
void PutCloseLines(std::vector<std::string>& lines, const SettingsValues& values);

// Replaces lines 1..28 and the exact-probabilities line 32 (the "Запомнить"
// command).
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
