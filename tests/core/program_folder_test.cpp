#include "core/program_folder.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/settings.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

namespace fs = std::filesystem;

// A folder of the test's own, with helpers to fill and read it.
class FolderTest : public ::testing::Test {
  protected:
    std::string Folder() const { return root_.string() + "/"; }
    void Touch(const std::string& name, const std::string& bytes = "x") const {
        std::ofstream(root_ / name, std::ios::binary) << bytes;
    }
    std::vector<std::string> Lines(const std::string& name) const {
        std::vector<std::string> lines;
        EXPECT_TRUE(ReadLinesFile(Folder() + name, lines).ok);
        return lines;
    }

    TempFolder temp_{"program-folder"};
    fs::path root_ = temp_.path();
};

using ProgramFolderTest = FolderTest;

TEST_F(ProgramFolderTest, PortableFolderWinsOtherwiseUserDataFolderIsCreated) {
    const std::string current = root_.string() + "/install";
    fs::create_directories(current);

    const std::string xdg = root_.string() + "/xdg";
    EXPECT_EQ(ResolveProgramFolder(current, xdg.c_str(), "/nowhere"), xdg + "/dalvex/");
    EXPECT_TRUE(fs::is_directory(xdg + "/dalvex"));

    const std::string home = root_.string() + "/home";
    const std::string homeFolder = home + "/.local/share/dalvex/";
    EXPECT_EQ(ResolveProgramFolder(current, "", home.c_str()), homeFolder);
    EXPECT_EQ(ResolveProgramFolder(current + "/", nullptr, home.c_str()), homeFolder);
    EXPECT_TRUE(fs::is_directory(homeFolder));

    std::ofstream(current + "/Dvx.ini") << "\r\n";
    EXPECT_EQ(ResolveProgramFolder(current, xdg.c_str(), home.c_str()), current + "/");
}

TEST_F(ProgramFolderTest, LeftoverGraphFilesAreDeletedUpToTheFirstGap) {
    Touch("gr1.tmp");
    Touch("gr2.tmp");
    Touch("gr4.tmp");
    EXPECT_EQ(DeleteLeftoverGraphFiles(Folder()), 2);
    EXPECT_FALSE(fs::exists(root_ / "gr1.tmp"));
    EXPECT_FALSE(fs::exists(root_ / "gr2.tmp"));
    EXPECT_TRUE(fs::exists(root_ / "gr4.tmp"));
}

// The samples arrive once: a "data" folder the person has (even emptied) is
// never filled again.
TEST_F(ProgramFolderTest, SamplesAreCopiedOnlyIntoAFolderWithoutData) {
    fs::create_directories(root_ / "samples");
    fs::create_directories(root_ / "user");
    Touch("samples/demo.dvx", "dvx");
    Touch("samples/demo.txt", "txt");
    const std::string user = Folder() + "user";
    EXPECT_EQ(CopySamplesAtFirstStart(user, Folder() + "none"), 0);
    EXPECT_FALSE(fs::exists(root_ / "user/data"));

    EXPECT_EQ(CopySamplesAtFirstStart(user, Folder() + "samples"), 2);
    std::ifstream in(root_ / "user/data/demo.dvx");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "dvx");

    fs::remove(root_ / "user/data/demo.txt");
    EXPECT_EQ(CopySamplesAtFirstStart(user, Folder() + "samples"), 0);
    EXPECT_FALSE(fs::exists(root_ / "user/data/demo.txt"));
}

TEST_F(ProgramFolderTest, DecimalSeparatorLeavesTheNumericLocaleAtC) {
    const char separator = LocaleDecimalSeparator();
    EXPECT_TRUE(separator == '.' || separator == ',');
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
}

class SettingsFileTest : public FolderTest {
  protected:
    ScriptedDialogs dialogs;
    Workspace ws{dialogs};
    std::string Path() const { return Folder() + SettingsFileName; }
};

TEST_F(SettingsFileTest, MissingFileIsCreatedCompleteWithDefaults) {
    SettingsFile file(Path());
    file.LoadAtStart(ws);
    EXPECT_TRUE(dialogs.notices().empty());
    const auto lines = Lines(SettingsFileName);
    EXPECT_EQ(lines.size(), static_cast<std::size_t>(ExactProbabilitiesLine + 1));
    SettingsValues back;
    back.columnWidth = 1;
    ApplySettingsLines(lines, back);
    EXPECT_EQ(back.columnWidth, 68);
    EXPECT_EQ(back.rowHeight, 16);
}

TEST_F(SettingsFileTest, ShortFileIsReadThenCompleted) {
    Touch(SettingsFileName, "own line 0\r\n/data/\r\n0,01\r\n6\r\n");
    SettingsFile file(Path());
    file.LoadAtStart(ws);
    EXPECT_TRUE(dialogs.notices().empty());
    EXPECT_DOUBLE_EQ(ws.settings.SignificanceLevel, 0.01);
    EXPECT_EQ(ws.settings.SignificantDigits, 6);
    EXPECT_EQ(ws.settings.DataFolder, "/data/");
    const auto lines = Lines(SettingsFileName);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(SettingsFileLines));
    EXPECT_EQ(lines[0], "own line 0");
    EXPECT_EQ(lines[2], "0,01");
}

TEST_F(SettingsFileTest, UnreadableFileKeepsDefaultsAndIsNotOverwrittenAtClose) {
    fs::create_directories(Path());  // a folder in its place cannot be read
    ws.settings.columnWidth = 68;
    SettingsFile file(Path());
    file.LoadAtStart(ws);
    ASSERT_EQ(dialogs.notices().size(), 1u);
    EXPECT_EQ(dialogs.notices()[0], "Прерывание: это папка, а не файл");
    EXPECT_TRUE(file.unreadable());
    EXPECT_EQ(ws.settings.columnWidth, 68);

    ws.settings.windowWidth = 900;
    file.SaveAtClose(ws);
    EXPECT_EQ(dialogs.notices().size(), 1u);
    EXPECT_TRUE(fs::is_directory(Path()));
    EXPECT_FALSE(fs::exists(Path() + ".tmp"));
}

// A width of 0 once hid the grid and "Запомнить" kept it that way.
TEST_F(SettingsFileTest, OutOfRangeLinesTakeDefaultsWithOneNoticeAndAreSavedSound) {
    auto original = DefaultSettingsLines();
    original[17] = "0";
    original[18] = "0";
    original[3] = "12";
    ASSERT_TRUE(WriteLinesFile(Path(), original).ok);
    SettingsFile file(Path());
    file.LoadAtStart(ws);
    ASSERT_EQ(dialogs.notices().size(), 1u);
    EXPECT_NE(dialogs.notices()[0].find("(СТРОКИ 3, 17, 18)"), std::string::npos);
    EXPECT_EQ(ws.settings.columnWidth, 68);
    EXPECT_EQ(ws.settings.rowHeight, 16);
    EXPECT_EQ(ws.settings.SignificantDigits, 4);
    file.Remember(ws);
    const auto lines = Lines(SettingsFileName);
    EXPECT_EQ(lines[3], "4");
    EXPECT_EQ(lines[17], "68");
    EXPECT_EQ(lines[18], "16");
}

// The new file is written beside the old one and renamed over it; when that
// cannot be done, the old file stays whole and the notice says why.
TEST_F(SettingsFileTest, FailedWriteLeavesTheOldFileWhole) {
    auto original = DefaultSettingsLines();
    original[3] = "6";
    ASSERT_TRUE(WriteLinesFile(Path(), original).ok);
    fs::create_directories(Path() + ".tmp");  // the temporary file cannot be made
    SettingsFile file(Path());
    file.LoadAtStart(ws);
    ws.settings.SignificantDigits = 8;
    file.Remember(ws);
    ASSERT_EQ(dialogs.notices().size(), 1u);
    EXPECT_EQ(dialogs.notices()[0].rfind("Прерывание: ", 0), 0u);
    EXPECT_GT(dialogs.notices()[0].size(), std::string("Прерывание: ").size());
    EXPECT_EQ(Lines(SettingsFileName), original);
}

TEST_F(SettingsFileTest, CloseReplacesFolderMaximisedAndWindowSizeOnly) {
    auto original = DefaultSettingsLines();
    original[0] = "мой заголовок";
    original[2] = "0,1";
    original[31] = "25";
    original.push_back("extra line kept");
    ASSERT_TRUE(WriteLinesFile(Path(), original).ok);

    SettingsFile file(Path());
    file.LoadAtStart(ws);
    ws.settings.DataFolder = "/home/u/данные/";
    ws.settings.maximized = true;
    ws.settings.windowWidth = 1024;
    ws.settings.windowHeight = 700;
    ws.settings.SignificanceLevel = 0.02;  // only "Запомнить" writes this
    file.SaveAtClose(ws);
    EXPECT_TRUE(dialogs.notices().empty());

    auto expected = original;
    expected[1] = "/home/u/данные/";
    expected[16] = "1";
    expected[29] = "1024";
    expected[30] = "700";
    EXPECT_EQ(Lines(SettingsFileName), expected);
}

TEST_F(SettingsFileTest, RememberWritesLinesOneToTwentyEight) {
    auto original = DefaultSettingsLines();
    original[0] = "keep 0";
    original[29] = "800";
    original[31] = "25";
    ASSERT_TRUE(WriteLinesFile(Path(), original).ok);

    SettingsFile file(Path());
    file.LoadAtStart(ws);
    ws.settings.SignificantDigits = 7;
    ws.settings.rowHeight = 20;
    ws.settings.windowWidth = 1234;  // a close-time line, untouched here
    file.Remember(ws);

    const auto lines = Lines(SettingsFileName);
    EXPECT_EQ(lines[0], "keep 0");
    EXPECT_EQ(lines[3], "7");
    EXPECT_EQ(lines[18], "20");
    EXPECT_EQ(lines[29], "800");
    EXPECT_EQ(lines[31], "25");
}

}  // namespace
}  // namespace dalvex
