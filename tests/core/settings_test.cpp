#include "core/settings.h"
#include "core/text.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace dalvex {
namespace {

// The lines "Запомнить" and closing write for these values.
std::vector<std::string> PutBack(const SettingsValues& v) {
    auto lines = DefaultSettingsLines();
    PutRememberLines(lines, v);
    PutCloseLines(lines, v);
    lines[31] = std::to_string(v.reservedGraphHeight);
    return lines;
}

TEST(SettingsTest, DefaultFileIsCompleteAndReadsBackAsDefaults) {
    const auto lines = DefaultSettingsLines();
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(ExactProbabilitiesLine + 1));
    SettingsValues v;
    v.SignificantDigits = 7;
    v.exactProbabilities = true;
    EXPECT_TRUE(ApplySettingsLines(lines, v).empty());
    EXPECT_FALSE(v.exactProbabilities);
    EXPECT_EQ(v.SignificantDigits, 4);
    EXPECT_EQ(v.SignificanceLevel, 0.05);
    EXPECT_EQ(v.columnWidth, 68);
    EXPECT_EQ(v.dialogColors[0], 16711680);  // blue in the platform's colour layout
    EXPECT_FALSE(v.macroSwitch);
}

TEST(SettingsTest, StartUpReadsLinesAndIgnoresUnusableOnes) {
    auto lines = DefaultSettingsLines();
    lines[2] = "0,01";
    lines[3] = "6";
    lines[4] = "Liberation Mono";
    lines[6] = "1";
    lines[16] = "1";
    lines[17] = "90";
    lines[19] = "-2147483633";
    lines[28] = "1";
    lines[29] = "1024";
    lines[30] = "abc";
    lines[32] = "1";
    SettingsValues v;
    EXPECT_EQ(ApplySettingsLines(lines, v), std::vector<int>{30});
    EXPECT_DOUBLE_EQ(v.SignificanceLevel, 0.01);
    EXPECT_EQ(v.SignificantDigits, 6);
    EXPECT_EQ(v.sheetFont.name, "Liberation Mono");
    EXPECT_TRUE(v.sheetFont.bold);
    EXPECT_TRUE(v.maximized);
    EXPECT_EQ(v.columnWidth, 90);
    EXPECT_EQ(v.dialogColors[0], static_cast<std::int32_t>(0x8000000F));
    EXPECT_TRUE(v.macroSwitch);
    EXPECT_EQ(v.windowWidth, 1024);
    EXPECT_EQ(v.windowHeight, 0);
    EXPECT_TRUE(v.exactProbabilities);

    for (const char* bad : {"0.2", "0", "x"}) {
        lines[2] = bad;
        SettingsValues w;
        w.SignificanceLevel = 0.1;
        ApplySettingsLines(lines, w);
        EXPECT_EQ(w.SignificanceLevel, 0.05) << bad;  // the default, not the old value
    }
    SettingsValues shortFile;
    ApplySettingsLines({"only", "/data/"}, shortFile);
    EXPECT_EQ(shortFile.DataFolder, "/data/");
    EXPECT_EQ(shortFile.SignificantDigits, 4);
}

TEST(SettingsTest, CloseAndRememberTouchOnlyTheirLines) {
    auto lines = DefaultSettingsLines();
    lines[0] = "my own first line";
    lines[31] = "25";
    lines.push_back("line 33 belongs to nobody");
    SettingsValues v;
    v.DataFolder = "/home/u/data/";
    v.maximized = true;
    v.windowWidth = 800;
    v.windowHeight = 600;
    v.SignificantDigits = 5;
    PutCloseLines(lines, v);
    EXPECT_EQ(lines[1], "/home/u/data/");
    EXPECT_EQ(lines[16], "1");
    EXPECT_EQ(lines[29], "800");
    EXPECT_EQ(lines[3], "4");  // only "Запомнить" writes the digits
    PutRememberLines(lines, v);
    EXPECT_EQ(lines[3], "5");
    EXPECT_EQ(lines[24], lines[4]);
    EXPECT_EQ(lines[0], "my own first line");
    EXPECT_EQ(lines[31], "25");
    EXPECT_EQ(lines[33], "line 33 belongs to nobody");
    EXPECT_EQ(lines[32], "0");
    v.exactProbabilities = true;
    PutCloseLines(lines, v);
    EXPECT_EQ(lines[32], "0");  // closing never writes the choice
    PutRememberLines(lines, v);
    EXPECT_EQ(lines[32], "1");
    std::vector<std::string> old(SettingsFileLines, "");  // a file from before the choice
    PutRememberLines(old, v);
    EXPECT_EQ(old.size(), static_cast<std::size_t>(ExactProbabilitiesLine + 1));
    EXPECT_EQ(old[32], "1");
}

// Every number line has a range; a value outside it (or no number at all)
// takes the line's default, and the line is named for the one notice.
TEST(SettingsTest, NumberLinesOutOfTheirRangeTakeTheirDefaults) {
    struct Case {
        int line;
        const char* text;
        bool refused;
    };
    const Case cases[] = {
        {2, "0,2", true},  {2, "0.1", false},      {2, "", true},      {3, "2", true},
        {3, "10", true},   {3, "9", false},        {3, "4.5", true},   {5, "0", true},
        {5, "12", false},  {7, "-5", true},        {7, "255", false},  {17, "0", true},
        {17, "7", true},   {17, "8", false},       {17, "1001", true}, {18, "0", true},
        {18, "201", true}, {18, "20", false},      {19, "abc", true},  {19, "-2147483633", false},
        {19, "-16", true}, {19, "16777216", true}, {29, "0", false},   {29, "100", true},
        {30, "-1", true},  {31, "2001", true},     {31, "25", false},
    };
    const SettingsValues defaults;
    for (const Case& c : cases) {
        auto lines = DefaultSettingsLines();
        lines[c.line] = c.text;
        SettingsValues v;
        v.columnWidth = 100;  // an earlier value never survives a refusal
        v.rowHeight = 30;
        v.sheetFont.size = 20;
        const std::vector<int> refused = ApplySettingsLines(lines, v);
        EXPECT_EQ(refused, c.refused ? std::vector<int>{c.line} : std::vector<int>{})
            << c.line << " " << c.text;
        if (c.refused) {
            EXPECT_EQ(PutBack(v)[c.line], DefaultSettingsLines()[c.line]) << c.line;
        } else {
            EXPECT_EQ(PutBack(v)[c.line], Trim(c.text)) << c.line;
        }
    }
    auto lines = DefaultSettingsLines();
    lines[17] = "0";
    lines[3] = "x";
    lines[18] = "0";
    SettingsValues v;
    EXPECT_EQ(ApplySettingsLines(lines, v), (std::vector<int>{3, 17, 18}));
    EXPECT_EQ(RefusedSettingsNotice({3, 17, 18}),
              "!НЕДОПУСТИМЫЕ ЗНАЧЕНИЯ В ФАЙЛЕ УСТАНОВОК Dvx.ini (СТРОКИ 3, 17, 18) - ВЗЯТЫ "
              "ЗНАЧЕНИЯ ПО УМОЛЧАНИЮ!");
}

// A file the program wrote reads back and writes again byte for byte.
TEST(SettingsTest, EveryLineReadsAndWritesBackByteExactly) {
    const std::vector<std::string> file{"Моя первая строка",
                                        "/home/u/Данные/",
                                        "0.01",
                                        "6",
                                        "Liberation Mono",
                                        "11",
                                        "1",
                                        "255",
                                        "DejaVu Sans Mono",
                                        "9",
                                        "0",
                                        "-2147483640",
                                        "DejaVu Sans",
                                        "8",
                                        "0",
                                        "65280",
                                        "1",
                                        "90",
                                        "20",
                                        "-2147483633",
                                        "-2147483633",
                                        "-2147483640",
                                        "128",
                                        "-2147483640",
                                        "Liberation Mono",
                                        "11",
                                        "1",
                                        "255",
                                        "1",
                                        "1024",
                                        "768",
                                        "40",
                                        "1"};
    SettingsValues v;
    ASSERT_TRUE(ApplySettingsLines(file, v).empty());
    std::vector<std::string> written = file;
    PutRememberLines(written, v);
    PutCloseLines(written, v);
    EXPECT_EQ(written, file);

    const TempFolder dir("settings_bytes");
    const std::string path = (dir / "Dvx.ini").string();
    ASSERT_TRUE(WriteLinesFile(path, written).ok);
    std::vector<std::string> read;
    ASSERT_TRUE(ReadLinesFile(path, read).ok);
    EXPECT_EQ(read, file);
}

TEST(SettingsTest, ShortFileIsCompletedWithDefaults) {
    std::vector<std::string> lines{"x", "/d/"};
    EXPECT_TRUE(CompleteSettingsLines(lines));
    EXPECT_EQ(lines.size(), static_cast<std::size_t>(SettingsFileLines));
    EXPECT_EQ(lines[1], "/d/");
    EXPECT_EQ(lines[17], "68");
    EXPECT_FALSE(CompleteSettingsLines(lines));
}

TEST(SettingsTest, FilesAreCp1251WithCrLf) {
    const TempFolder dir("settings");
    const std::string path = (dir / "Dvx.ini").string();
    ASSERT_TRUE(WriteLinesFile(path, {"Шрифт", "2"}).ok);
    std::ifstream in(path, std::ios::binary);
    std::stringstream raw;
    raw << in.rdbuf();
    EXPECT_EQ(raw.str(), "\xD8\xF0\xE8\xF4\xF2\r\n2\r\n");
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadLinesFile(path, lines).ok);
    EXPECT_EQ(lines, (std::vector<std::string>{"Шрифт", "2"}));
    const auto missing = ReadLinesFile((dir / "none.ini").string(), lines);
    EXPECT_FALSE(missing.ok);
    EXPECT_FALSE(missing.error.empty());
}

// A write that fails after the temporary was opened (the disk full) reports
// the failure, takes the temporary away and leaves the old file as it was.
TEST(SettingsTest, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
    namespace fs = std::filesystem;
    const TempFolder dir("settings_full");
    const std::string path = (dir / "Dvx.ini").string();
    ASSERT_TRUE(WriteLinesFile(path, {"старое"}).ok);
    // The temporary's name leads to a device that is always full.
    fs::create_symlink("/dev/full", path + ".tmp");

    const auto written = WriteLinesFile(path, {"новое", std::string(100000, 'x')});
    EXPECT_FALSE(written.ok);
    EXPECT_FALSE(written.error.empty());
    EXPECT_FALSE(fs::exists(fs::symlink_status(path + ".tmp")));
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadLinesFile(path, lines).ok);
    EXPECT_EQ(lines, (std::vector<std::string>{"старое"}));
}

}  // namespace
}  // namespace dalvex
