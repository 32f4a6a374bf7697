#include "core/settings.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace dalvex {
namespace {

TEST(SettingsTest, DefaultFileIsCompleteAndReadsBackAsDefaults) {
    const auto lines = DefaultSettingsLines();
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(SettingsFileLines));
    SettingsValues v;
    v.SignificantDigits = 7;
    ApplySettingsLines(lines, v);
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
    SettingsValues v;
    ApplySettingsLines(lines, v);
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

    for (const char* bad : {"0.2", "0", "x"}) {
        lines[2] = bad;
        SettingsValues w;
        w.SignificanceLevel = 0.1;
        ApplySettingsLines(lines, w);
        EXPECT_EQ(w.SignificanceLevel, 0.1) << bad;
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
    lines.push_back("line 32 belongs to nobody");
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
    EXPECT_EQ(lines[32], "line 32 belongs to nobody");
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

}  // namespace
}  // namespace dalvex
