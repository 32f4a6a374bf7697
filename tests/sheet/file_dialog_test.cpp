#include "sheet/file_dialog_model.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/settings.h"
#include "core/text.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

namespace fs = std::filesystem;

void PutBytes(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The start of a native data file: its title record.
std::string TitleRecord(const std::string& utf8) {
    const std::string bytes = Utf8ToCp1251(utf8);
    return std::string(1, static_cast<char>(bytes.size())) + bytes;
}

TEST(FileFilterTest, PairsPatternsAndExtensions) {
    const auto filters = ParseFilter("Файлы DALVEX (*.dvx)|*.dvx|Все (*.*)|*.*|");
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[0].description, "Файлы DALVEX (*.dvx)");
    EXPECT_EQ(filters[1].pattern, "*.*");

    struct Case {
        const char* name;
        const char* pattern;
        bool matches;
    };
    for (const Case& c : {Case{"DATA.DBF", "*.dbf", true}, Case{"data.dbf", "*.DBF", true},
                          Case{"data.dbf.bak", "*.dbf", false}, Case{"README", "*.*", true},
                          Case{"a.dvx", "*.txt", false}, Case{"a1.txt", "a?.txt", true}})
        EXPECT_EQ(MatchesPattern(c.name, c.pattern), c.matches) << c.name << " " << c.pattern;

    EXPECT_EQ(PatternExtension("*.dvx"), ".dvx");
    EXPECT_EQ(PatternExtension("*.*"), "");
}

TEST(FileFilterTest, DriveTabsAreTheRootHomeAndMountedVolumes) {
    const std::string mounts =
        "/dev/sda1 / ext4 rw 0 0\n"
        "proc /proc proc rw 0 0\n"
        "tmpfs /run tmpfs rw 0 0\n"
        "/dev/sdb1 /media/anna/USB\\040STICK vfat rw 0 0\n"
        "server:/export /srv/share nfs4 rw 0 0\n"
        "/dev/sdc1 /mnt/backup ext4 rw 0 0\n"
        "/dev/sdb1 /media/anna/USB\\040STICK vfat rw 0 0\n";
    const auto volumes = MountedVolumes(mounts, "/home/anna");
    ASSERT_EQ(volumes.size(), 5u);
    EXPECT_EQ(volumes[0].path, "/");
    EXPECT_EQ(volumes[1].caption, "~");
    EXPECT_EQ(volumes[2].path, "/media/anna/USB STICK");
    EXPECT_EQ(volumes[2].caption, "USB STICK");
    EXPECT_EQ(volumes[2].kind, Volume::Kind::Removable);
    EXPECT_EQ(volumes[3].kind, Volume::Kind::Network);
    EXPECT_EQ(volumes[4].path, "/mnt/backup");
}

TEST(ScriptedFileDialogTest, AnswersInOrderAndNamesAMismatch) {
    ScriptedDialogs ui;
    ui.ExpectFile(1, "/tmp/a.dvx", "Заголовок");
    FileRequest request;
    request.mode = 1;
    request.filterIndex = 2;
    const FileChoice choice = ui.ChooseFile(request);
    EXPECT_TRUE(choice.chosen);
    EXPECT_EQ(choice.comment, "Заголовок");
    EXPECT_EQ(choice.filterIndex, 2);

    ui.ExpectFile(1, "/tmp/a.dvx");
    request.mode = 0;
    try {
        ui.ChooseFile(request);
        FAIL();
    } catch (const ScriptMismatch& e) {
        EXPECT_NE(std::string(e.what()).find("Запись файла"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("Чтение файла"), std::string::npos);
    }
}

class FileDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(root / "program");
        fs::create_directories(root / "data" / "sub");
        ws.ProgramFolder = (root / "program").string() + "/";
        ws.settings.DataFolder = (root / "data").string() + "/";
        PutBytes(root / "data" / "rost.dvx", TitleRecord("Рост и вес студентов") + "\x02-1");
        PutBytes(root / "data" / "SHORT.DVX",
                 "\x09"
                 "abc");  // announces more than it has
        PutBytes(root / "data" / "cadastre.txt", "\x05title");
        PutBytes(root / "data" / ".hidden.dvx", TitleRecord("скрытый"));
        PutBytes(root / "data" / "sub" / "inner.dvx", TitleRecord("внутри"));
    }

    void Open(int mode, const std::string& defaultName = {}, int filterIndex = 0) {
        FileRequest request;
        request.mode = mode;
        request.filter = mode == 1 ? "Файлы DALVEX (*.dvx)|*.dvx|Текстовые (*.txt)|*.txt|"
                                   : "Файлы DALVEX (*.dvx)|*.dvx|Текстовые (*.txt)|*.txt|Все "
                                     "(*.*)|*.*|";
        request.defaultName = defaultName;
        request.comment = "Заголовок данных";
        request.filterIndex = filterIndex;
        dialog.Ini(request);
        dialog.Show();
    }
    std::vector<std::string> Shown() {
        std::vector<std::string> out;
        for (int i = 0; i < dialog.fileCount(); ++i)
            out.push_back(dialog.file(i).shown);
        return out;
    }
    std::string Data(const std::string& name) const { return (root / "data" / name).string(); }

    TempFolder temp{"dialog"};
    fs::path root = temp.path();
    ScriptedDialogs ui;
    Workspace ws{ui};
    TFMn dialog{ws};
    using Names = std::vector<std::string>;
};

TEST_F(FileDialogTest, ReadModeListsTheChosenTypeWithoutExtensions) {
    Open(0);
    EXPECT_EQ(dialog.caption(), "Чтение файла");
    EXPECT_EQ(dialog.helpContext(), 11);
    EXPECT_FALSE(dialog.writeControlsShown());
    EXPECT_TRUE(dialog.menuShown());
    EXPECT_EQ(dialog.folder(), (root / "data").string());
    EXPECT_EQ(Shown(), (Names{"rost", "SHORT"}));
    EXPECT_EQ(dialog.selected(), 0);
    EXPECT_EQ(dialog.comment(), "");
    EXPECT_EQ(ws.LastAnswer, 0);
    // "Текущий файл=" names the selected file, clicked or not.
    ASSERT_NE(dialog.currentFile(), nullptr);
    EXPECT_EQ(dialog.currentFile()->name, "rost.dvx");
    dialog.ClickFile(1);
    EXPECT_EQ(dialog.currentFile()->name, "SHORT.DVX");

    dialog.ChooseType(1);
    EXPECT_EQ(Shown(), Names{"cadastre"});
    EXPECT_FALSE(dialog.menuShown());
    dialog.ClickFile(0);
    EXPECT_EQ(dialog.comment(), "");  // a title is read by type, not by a "cad" in the name

    dialog.ChooseType(2);
    EXPECT_EQ(Shown(), (Names{"cadastre.txt", "rost.dvx", "SHORT.DVX"}));
    dialog.ActivateFile(2);
    EXPECT_TRUE(dialog.closed());
    EXPECT_EQ(ws.LastAnswer, 1);
    EXPECT_EQ(ws.TextBuffer(), Data("SHORT.DVX"));
    EXPECT_EQ(dialog.choice().filterIndex, 2);
}

TEST_F(FileDialogTest, WriteModeOffersTheNameAndTitleAndCompletesTheExtension) {
    Open(1, "demo.2024.txt");
    EXPECT_EQ(dialog.caption(), "Запись файла");
    EXPECT_EQ(dialog.helpContext(), 12);
    EXPECT_TRUE(dialog.writeControlsShown());
    EXPECT_FALSE(dialog.menuShown());
    EXPECT_EQ(dialog.name(), "demo");
    EXPECT_EQ(dialog.comment(), "Заголовок данных");

    dialog.SetComment("Новый заголовок");
    dialog.Confirm();
    EXPECT_EQ(dialog.choice().path, Data("demo.dvx"));
    EXPECT_EQ(dialog.choice().comment, "Новый заголовок");
    EXPECT_EQ(ws.LastAnswer, 1);

    // A click puts the file's whole name in the name field, its title in the comment.
    Open(1, "x");
    dialog.ClickFile(0);
    EXPECT_EQ(dialog.name(), "rost.dvx");
    EXPECT_EQ(dialog.comment(), "Рост и вес студентов");
    dialog.ClickFile(1);
    EXPECT_EQ(dialog.comment(), "abc");  // as much of the title as the file holds
    dialog.Confirm();
    EXPECT_EQ(dialog.choice().path, Data("SHORT.DVX"));
}

TEST_F(FileDialogTest, EmptyNameIsRefusedExceptForATextFileChosenInTheList) {
    Open(1, "");
    dialog.Confirm();
    EXPECT_EQ(ui.notices(), std::vector<std::string>{NoFileNotice});
    EXPECT_EQ(ws.LastAnswer, 0);
    EXPECT_FALSE(dialog.choice().chosen);
    EXPECT_TRUE(dialog.closed());

    Open(1, "", 1);
    dialog.Confirm();
    EXPECT_EQ(dialog.choice().path, Data("cadastre.txt"));

    // The "all files" type adds no extension.
    FileRequest request;
    request.mode = 1;
    request.filter = "Все (*.*)|*.*|";
    dialog.Ini(request);
    dialog.Show();
    dialog.SetName("notes");
    dialog.Confirm();
    EXPECT_EQ(dialog.choice().path, Data("notes"));
}

TEST_F(FileDialogTest, TheRememberedTypeCountsForDataFilesOnly) {
    Open(0, "", 1);
    EXPECT_EQ(dialog.pattern(), "*.txt");
    FileRequest results;
    results.filter = "Текстовые (*.txt)|*.txt|Все (*.*)|*.*|";
    results.filterIndex = 1;
    dialog.Ini(results);
    EXPECT_EQ(dialog.pattern(), "*.txt");
}

TEST_F(FileDialogTest, FirstDialogOpensInTheProgramsDataFolder) {
    fs::create_directories(root / "program" / "data");
    PutBytes(root / "program" / "data" / "demo.dvx", TitleRecord("Демо"));
    ws.settings.DataFolder.clear();
    Open(0);
    EXPECT_EQ(dialog.folder(), (root / "program" / "data").string());
    EXPECT_EQ(Shown(), Names{"demo"});
}

TEST_F(FileDialogTest, ChosenFolderIsWhereTheNextDialogOpens) {
    Open(0);
    ASSERT_TRUE(dialog.ChangeFolder(Data("sub")));
    EXPECT_EQ(Shown(), Names{"inner"});
    dialog.Confirm();
    EXPECT_EQ(ws.settings.DataFolder, Data("sub") + "/");

    // "Запомнить" writes it as the settings' first line.
    std::vector<std::string> lines = DefaultSettingsLines();
    PutRememberLines(lines, ws.settings);
    EXPECT_EQ(lines[1], Data("sub") + "/");

    Open(0);
    EXPECT_EQ(Shown(), Names{"inner"});
    ASSERT_TRUE(dialog.ChangeFolder(Data("sub") + "/.."));
    dialog.Cancel();  // a cancelled dialog does not move the data folder
    EXPECT_EQ(ws.settings.DataFolder, Data("sub") + "/");
    EXPECT_EQ(ws.LastAnswer, 0);
}

TEST_F(FileDialogTest, CommentsModeAndSearchByTitle) {
    Open(0);
    EXPECT_EQ(dialog.listLayout().columns, 3);
    dialog.ToggleComments();
    EXPECT_TRUE(dialog.commentsMode());
    EXPECT_EQ(dialog.commentsButtonCaption(), "Комментарии-");
    EXPECT_EQ(dialog.listLayout().width, 90);
    EXPECT_EQ(dialog.Title(0), "Рост и вес студентов");
    EXPECT_EQ(dialog.Title(1), "abc");
    dialog.ToggleTree();
    EXPECT_FALSE(dialog.commentsMode());

    dialog.ToggleMenu();
    EXPECT_TRUE(dialog.searchPanelShown());
    dialog.Search("  ab ");
    EXPECT_FALSE(dialog.searchPanelShown());
    EXPECT_EQ(Shown(), Names{"SHORT"});
    dialog.Search("вес");
    EXPECT_EQ(Shown(), Names{"rost"});
    dialog.Search("нет такого");
    EXPECT_EQ(dialog.selected(), -1);
    dialog.Search("");
    EXPECT_EQ(Shown(), (Names{"rost", "SHORT"}));
}

TEST_F(FileDialogTest, DeleteAsksAndRemovesExactlyTheListedFile) {
    PutBytes(root / "data" / "short.dvx", "x");  // differs from SHORT.DVX only in case
    Open(0);
    ASSERT_EQ(Shown(), (Names{"rost", "SHORT", "short"}));
    ui.ExpectYesNo("Удалить файл SHORT.DVX ?", false);
    dialog.Delete(1);
    EXPECT_TRUE(fs::exists(Data("SHORT.DVX")));
    ui.ExpectYesNo("Удалить файл SHORT.DVX ?", true);
    dialog.Delete(1);
    EXPECT_FALSE(fs::exists(Data("SHORT.DVX")));
    EXPECT_TRUE(fs::exists(Data("short.dvx")));
    EXPECT_EQ(Shown(), (Names{"rost", "short"}));

    fs::remove(Data("short.dvx"));  // gone before the person confirms
    ui.ExpectYesNo("Удалить файл short.dvx ?", true);
    dialog.Delete(1);
    ASSERT_EQ(ui.notices().size(), 1u);
    EXPECT_EQ(ui.notices()[0].rfind("Не удалось удалить файл short.dvx: ", 0), 0u);
}

TEST_F(FileDialogTest, SearchPatternsAreKeptInTheirFile) {
    Open(0);
    EXPECT_EQ(ui.beeps(), 1);  // no pattern file yet
    dialog.ClickPattern(3);
    dialog.EditPattern("рост");
    dialog.Cancel();
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadLinesFile(ws.ProgramFolder + PatternsFileName, lines).ok);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(SearchPatternCount));
    EXPECT_EQ(lines[3], "рост");

    TFMn again(ws);
    FileRequest request;
    request.filter = "Файлы DALVEX (*.dvx)|*.dvx|";
    again.Ini(request);
    EXPECT_EQ(again.patterns()[3], "рост");
    EXPECT_EQ(ui.beeps(), 1);
}

}  // namespace
}  // namespace dalvex
