#include "output/results_text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/text.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class ResultsTextTest : public ::testing::Test {
  protected:
    void SetUp() override { ws.ProgramFolder = dir.string() + "/"; }

    std::vector<std::size_t> LineLengths(TEditForm& form) {
        std::vector<std::size_t> out;
        for (const auto& l : form.lines())
            out.push_back(CharLength(l));
        return out;
    }

    TempFolder temp{"results"};
    fs::path dir = temp.path();
    ScriptedDialogs ui;
    Workspace ws{ui};
};

TEST_F(ResultsTextTest, LongTextsWrapIntoPiecesOfNinety) {
    struct Case {
        std::size_t length;
        std::vector<std::size_t> lines;
    } cases[] = {{250, {90, 90, 70}}, {100, {100}}, {101, {90, 11}}, {0, {0}}, {181, {90, 91}}};
    for (const auto& c : cases) {
        TEditForm form(ws);
        std::string text;
        for (std::size_t i = 0; i < c.length; ++i)
            text += (i % 2 ? "ж" : "x");
        form.WriteResult(text);
        EXPECT_EQ(LineLengths(form), c.lines) << c.length;
        EXPECT_TRUE(form.modified());
    }
}

TEST_F(ResultsTextTest, OverflowRescuesTheTextAndKeepsTheNewLine) {
    TEditForm form(ws, 30);
    form.WriteResult("первая строка");  // 14 characters with its line break
    form.WriteResult("вторая строка");
    EXPECT_TRUE(ui.notices().empty());
    form.WriteResult("третья");
    ASSERT_EQ(ui.notices().size(), 1u);
    EXPECT_EQ(
        ui.notices()[0],
        "Переполнение окна результатов!  Содержимое окна сохранено в текстовом файле REZ.TXT");
    EXPECT_EQ(ReadBytes(dir / "REZ.txt"), Utf8ToCp1251("первая строка\r\nвторая строка\r\n"));
    EXPECT_EQ(form.lines(), (std::vector<std::string>{"третья"}));
}

TEST_F(ResultsTextTest, FailedRescueKeepsEverything) {
    ws.ProgramFolder = (dir / "no such folder").string() + "/";
    TEditForm form(ws, 20);
    form.WriteResult("0123456789");
    form.WriteResult("abcdefghij");
    EXPECT_EQ(form.lines().size(), 2u);
    ASSERT_EQ(ui.notices().size(), 2u);
    EXPECT_NE(ui.notices()[1].find("REZ.txt"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "REZ.txt"));
}

TEST_F(ResultsTextTest, SaveAndOpenUseCp1251WithCrLf) {
    TEditForm form(ws);
    form.WriteResult("Среднее = 1,5");
    form.WriteResult("");
    form.WriteResult("конец");
    const std::string path = (dir / "отчёт.txt").string();
    ASSERT_TRUE(form.Save(path).ok);
    EXPECT_FALSE(form.modified());
    EXPECT_EQ(form.caption(), "отчёт.txt");
    EXPECT_EQ(ReadBytes(path), Utf8ToCp1251("Среднее = 1,5\r\n\r\nконец\r\n"));

    TEditForm other(ws);
    other.WriteResult("old");
    ASSERT_TRUE(other.Open(path).ok);
    EXPECT_EQ(other.lines(), (std::vector<std::string>{"Среднее = 1,5", "", "конец"}));
    EXPECT_FALSE(other.modified());

    const FileStatus missing = other.Open((dir / "нет.txt").string());
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.error.find("нет.txt"), std::string::npos);
    EXPECT_EQ(other.lines().size(), 3u);  // a failed open leaves the text alone
    EXPECT_FALSE(other.Save((dir / "no/such/folder.txt").string()).ok);
}

TEST_F(ResultsTextTest, UserEditsArePulledBeforeTheNextAppend) {
    TEditForm form(ws);
    std::string shown;
    form.SetUserTextSource([&] { return shown; });
    form.WriteResult("a");
    shown = "a edited\nb";
    form.NoteUserEdit();
    form.WriteResult("c");
    EXPECT_EQ(form.lines(), (std::vector<std::string>{"a edited", "b", "c"}));
    form.Clear();
    EXPECT_TRUE(form.lines().empty());
    EXPECT_EQ(form.chars(), 0u);
}

}  // namespace
}  // namespace dalvex
