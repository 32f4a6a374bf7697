#include "core/settings.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/number.h"
#include "core/system_error.h"
#include "core/text.h"

namespace dalvex {

namespace {

bool ReadInt(const std::vector<std::string>& lines, int index, int& out) {
    if (index >= static_cast<int>(lines.size()))
        return false;
    const ParsedNumber n = ParseNumber(Trim(lines[index]));
    if (!n.ok() || n.value < -2147483648.0 || n.value > 2147483647.0 ||
        n.value != std::trunc(n.value))
        return false;
    out = static_cast<int>(n.value);
    return true;
}

// Reads one whole-number line into `value` when it is there and passes
// `valid`; a present line that fails gives `fallback` and is noted.
template <class T, class Valid>
void ReadRanged(const std::vector<std::string>& lines, int index, Valid valid, T fallback, T& value,
                std::vector<int>& refused) {
    if (index >= static_cast<int>(lines.size()))
        return;
    int read = 0;
    if (ReadInt(lines, index, read) && valid(read)) {
        value = static_cast<T>(read);
        return;
    }
    value = fallback;
    refused.push_back(index);
}

void ReadFont(const std::vector<std::string>& lines, int first, const FontSetting& fallback,
              FontSetting& font, std::vector<int>& refused) {
    if (first < static_cast<int>(lines.size()) && !Trim(lines[first]).empty())
        font.name = Trim(lines[first]);
    ReadRanged(
        lines, first + 1, [](int size) { return size >= 4 && size <= 96; }, fallback.size,
        font.size, refused);
    if (first + 2 < static_cast<int>(lines.size()))
        font.bold = Trim(lines[first + 2]) == "1";
    ReadRanged(
        lines, first + 3, [](int c) { return ValidColor(c); }, fallback.color, font.color, refused);
}

void PutFont(std::vector<std::string>& lines, int first, const FontSetting& font) {
    lines[first] = font.name;
    lines[first + 1] = std::to_string(font.size);
    lines[first + 2] = font.bold ? "1" : "0";
    lines[first + 3] = std::to_string(font.color);
}

}  // namespace

std::vector<std::string> DefaultSettingsLines(const SettingsValues& defaults) {
    std::vector<std::string> lines(SettingsFileLines);
    lines[0] = "DALVEX 8.0";
    PutRememberLines(lines, defaults);
    PutCloseLines(lines, defaults);
    lines[31] = std::to_string(defaults.reservedGraphHeight);
    return lines;
}

std::vector<int> ApplySettingsLines(const std::vector<std::string>& lines, SettingsValues& v) {
    const SettingsValues d;
    std::vector<int> refused;
    const int n = static_cast<int>(lines.size());
    if (n > 1)
        v.DataFolder = Trim(lines[1]);
    if (n > 2) {
        const ParsedNumber level = ParseNumber(Trim(lines[2]));
        if (level.ok() && ValidSignificanceLevel(level.value)) {
            v.SignificanceLevel = level.value;
        } else {
            v.SignificanceLevel = d.SignificanceLevel;
            refused.push_back(2);
        }
    }
    ReadRanged(lines, 3, ValidSignificantDigits, d.SignificantDigits, v.SignificantDigits, refused);
    ReadFont(lines, 4, d.sheetFont, v.sheetFont, refused);
    ReadFont(lines, 8, d.resultsFont, v.resultsFont, refused);
    ReadFont(lines, 12, d.GraphFont, v.GraphFont, refused);
    if (n > 16)
        v.maximized = Trim(lines[16]) == "1";
    ReadRanged(lines, 17, ValidColumnWidth, d.columnWidth, v.columnWidth, refused);
    ReadRanged(lines, 18, ValidRowHeight, d.rowHeight, v.rowHeight, refused);
    for (int k = 0; k < 5; ++k)
        ReadRanged(
            lines, 19 + k, [](int c) { return ValidColor(c); }, d.dialogColors[k],
            v.dialogColors[k], refused);
    if (n > 28)
        v.macroSwitch = Trim(lines[28]) == "1";
    // 0 leaves the window's size to the platform.
    ReadRanged(
        lines, 29, [](int w) { return w == 0 || (w >= 200 && w <= 20000); }, d.windowWidth,
        v.windowWidth, refused);
    ReadRanged(
        lines, 30, [](int h) { return h == 0 || (h >= 150 && h <= 20000); }, d.windowHeight,
        v.windowHeight, refused);
    ReadRanged(
        lines, 31, [](int h) { return h >= 0 && h <= 2000; }, d.reservedGraphHeight,
        v.reservedGraphHeight, refused);
    if (n > ExactProbabilitiesLine)
        v.exactProbabilities = Trim(lines[ExactProbabilitiesLine]) == "1";
    std::sort(refused.begin(), refused.end());
    return refused;
}

std::string RefusedSettingsNotice(const std::vector<int>& lines) {
    std::string numbers;
    for (int line : lines)
        numbers += (numbers.empty() ? "" : ", ") + std::to_string(line);
    return "!НЕДОПУСТИМЫЕ ЗНАЧЕНИЯ В ФАЙЛЕ УСТАНОВОК Dvx.ini (СТРОКИ " + numbers +
           ") - ВЗЯТЫ ЗНАЧЕНИЯ ПО УМОЛЧАНИЮ!";
}

void PutCloseLines(std::vector<std::string>& lines, const SettingsValues& v) {
    CompleteSettingsLines(lines);
    lines[1] = v.DataFolder;
    lines[16] = v.maximized ? "1" : "";
    lines[29] = std::to_string(v.windowWidth);
    lines[30] = std::to_string(v.windowHeight);
}

void PutRememberLines(std::vector<std::string>& lines, const SettingsValues& v) {
    CompleteSettingsLines(lines);
    lines[1] = v.DataFolder;
    lines[2] = FormatNumber(v.SignificanceLevel, v.SignificantDigits, v.decimalSeparator);
    lines[3] = std::to_string(v.SignificantDigits);
    PutFont(lines, 4, v.sheetFont);
    PutFont(lines, 8, v.resultsFont);
    PutFont(lines, 12, v.GraphFont);
    lines[16] = v.maximized ? "1" : "";
    lines[17] = std::to_string(v.columnWidth);
    lines[18] = std::to_string(v.rowHeight);
    for (int k = 0; k < 5; ++k)
        lines[19 + k] = std::to_string(v.dialogColors[k]);
    PutFont(lines, 24, v.sheetFont);
    lines[28] = v.macroSwitch ? "1" : "0";
    if (static_cast<int>(lines.size()) <= ExactProbabilitiesLine)
        lines.resize(ExactProbabilitiesLine + 1);
    lines[ExactProbabilitiesLine] = v.exactProbabilities ? "1" : "0";
}

bool CompleteSettingsLines(std::vector<std::string>& lines) {
    if (static_cast<int>(lines.size()) >= SettingsFileLines)
        return false;
    // Default lines are built on a full-length vector, so this never recurses.
    std::vector<std::string> defaults(SettingsFileLines);
    defaults[0] = "DALVEX 8.0";
    const SettingsValues v;
    defaults[2] = FormatNumber(v.SignificanceLevel, v.SignificantDigits, v.decimalSeparator);
    defaults[3] = std::to_string(v.SignificantDigits);
    PutFont(defaults, 4, v.sheetFont);
    PutFont(defaults, 8, v.resultsFont);
    PutFont(defaults, 12, v.GraphFont);
    defaults[17] = std::to_string(v.columnWidth);
    defaults[18] = std::to_string(v.rowHeight);
    for (int k = 0; k < 5; ++k)
        defaults[19 + k] = std::to_string(v.dialogColors[k]);
    PutFont(defaults, 24, v.sheetFont);
    defaults[28] = "0";
    defaults[29] = "0";
    defaults[30] = "0";
    defaults[31] = "0";
    for (std::size_t i = lines.size(); i < defaults.size(); ++i)
        lines.push_back(defaults[i]);
    return true;
}

SettingsFileResult ReadLinesFile(const std::string& path, std::vector<std::string>& lines) {
    // A folder opens like a file and reads as empty; it is an error.
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return {false, SystemErrorText(EISDIR)};
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {false, SystemErrorText(errno)};
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad())
        return {false, SystemErrorText(errno)};
    lines = SplitLines(Cp1251ToUtf8(bytes.str()));
    return {};
}

SettingsFileResult WriteLinesFile(const std::string& path, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& line : lines) {
        bytes += Utf8ToCp1251(line);
        bytes += "\r\n";
    }
    // Written beside the target and renamed over it, so a failed write never
    // leaves a half-written settings file.
    const std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            return {false, SystemErrorText(errno)};
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        // Closed here rather than by the destructor, whose failure nobody sees.
        out.close();
        if (!out) {
            // A full disk is the usual cause: the half-written copy goes, the old file stays.
            const std::string error = SystemErrorText(errno != 0 ? errno : EIO);
            std::remove(temp.c_str());
            return {false, error};
        }
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        const std::string error = SystemErrorText(errno);
        std::remove(temp.c_str());
        return {false, error};
    }
    return {};
}

}  // namespace dalvex
