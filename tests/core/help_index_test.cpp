#include "core/help_index.h"

#include "core/text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace dalvex {
namespace {

std::vector<std::string> Terms(const std::vector<HelpKeywordHit>& hits) {
    std::vector<std::string> terms;
    for (const HelpKeywordHit& hit : hits)
        terms.push_back(hit.term);
    return terms;
}

TEST(HelpIndexParse, ReadsFieldsTrimmedAndSkipsMalformedLines) {
    const std::string text =
        "\xEF\xBB\xBF# comment line\r\n"
        "2 | contents.html | Оглавление | оглавление ,  разделы, \r\n"
        "\r\n"
        "5|sheet.html|Таблица данных\r\n"
        "abc|x.html|Буквы вместо номера\r\n"
        "-1|x.html|Отрицательный номер\r\n"
        "7|x.html\r\n"
        "8||Без файла\r\n"
        "9|x.html|  \r\n"
        "10|x.html|Лишнее поле|ключ|ещё\r\n"
        "5|other.html|Номер уже занят\r\n"
        "12345678901|x.html|Слишком длинный номер\r\n"
        "6|results.html|Окно результатов|результаты";
    const HelpIndex index = HelpIndex::Parse(text);

    ASSERT_EQ(index.Topics().size(), 3u);
    const HelpTopic& contents = index.Topics()[0];
    EXPECT_EQ(contents.context, 2);
    EXPECT_EQ(contents.file, "contents.html");
    EXPECT_EQ(contents.title, "Оглавление");
    EXPECT_EQ(contents.keywords, (std::vector<std::string>{"оглавление", "разделы"}));
    EXPECT_TRUE(index.Topics()[1].keywords.empty());
    EXPECT_EQ(index.Topics()[2].file, "results.html");
    EXPECT_EQ(index.SkippedLines(), (std::vector<int>{5, 6, 7, 8, 9, 10, 11, 12}));
}

TEST(HelpIndexParse, SurvivesEmptyAndBinaryInput) {
    EXPECT_TRUE(HelpIndex::Parse("").Topics().empty());
    const HelpIndex junk = HelpIndex::Parse(std::string("\xFF\xFE|\x00|\x80\n||||\n|", 13));
    EXPECT_TRUE(junk.Topics().empty());
    EXPECT_EQ(junk.SkippedLines().size(), 3u);
}

TEST(HelpIndexContext, UnknownNumberFallsBackToContents) {
    const HelpIndex index = HelpIndex::Parse(
        "4|main.html|Главное окно\n"
        "2|contents.html|Оглавление\n"
        "5|sheet.html|Таблица данных\n");
    EXPECT_EQ(index.ForContext(5)->file, "sheet.html");
    EXPECT_EQ(index.Find(77), nullptr);
    EXPECT_EQ(index.ForContext(77)->file, "contents.html");
    EXPECT_EQ(index.ContentsTopic()->file, "contents.html");
    EXPECT_EQ(index.FindFile("main.html")->context, 4);
    EXPECT_EQ(index.FindFile("nothing.html"), nullptr);

    // Without a contents page the first topic stands in; an empty index finds nothing.
    const HelpIndex noContents = HelpIndex::Parse("4|main.html|Главное окно\n");
    EXPECT_EQ(noContents.ForContext(77)->file, "main.html");
    EXPECT_EQ(HelpIndex::Parse("").ForContext(2), nullptr);
}

TEST(HelpIndexSearch, IgnoresCaseOfCyrillicAndLatinLetters) {
    EXPECT_EQ(LowerCase("ПЕЧАТЬ Ёлка ЯЩИК Dat Ї"), "печать ёлка ящик dat ї");

    const HelpIndex index = HelpIndex::Parse(
        "14|print.html|Печать|принтер, вывод на бумагу\n"
        "5|sheet.html|Таблица данных|печать таблицы, ЁМКОСТЬ\n"
        "6|results.html|Окно результатов|Rez\n");
    struct Case {
        const char* key;
        std::vector<std::string> terms;
    };
    const Case cases[] = {
        {"ПЕЧ", {"Печать", "печать таблицы"}},
        {"  печать ", {"Печать", "печать таблицы"}},
        {"ёмк", {"ЁМКОСТЬ"}},
        {"REZ", {"Rez"}},
        {"ТАБЛИЦ", {"печать таблицы", "Таблица данных"}},
        {"нет такого", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Terms(index.Search(c.key)), c.terms) << c.key;
    EXPECT_EQ(index.Search("принтер").front().topic->context, 14);
}

TEST(HelpIndexSearch, EmptyKeyListsEveryTermAlphabetically) {
    const HelpIndex index = HelpIndex::Parse(
        "2|contents.html|Оглавление|оглавление, разделы\n"
        "5|sheet.html|Таблица данных|ёмкость, ячейка, ввод\n"
        "13|clear.html|Очистить|ввод, еда\n");
    const std::vector<HelpKeywordHit> hits = index.Search("");
    // The title repeated as a keyword is listed once; "ё" sorts after "е", not after "я";
    // a keyword of two topics gives a hit for each, in index order.
    EXPECT_EQ(Terms(hits),
              (std::vector<std::string>{"ввод", "ввод", "еда", "ёмкость", "Оглавление", "Очистить",
                                        "разделы", "Таблица данных", "ячейка"}));
    EXPECT_EQ(hits[0].topic->context, 5);
    EXPECT_EQ(hits[1].topic->context, 13);
}

// The index shipped with the program must give a page for every context number
// the windows ask for, and every page it names must exist.
TEST(HelpIndexShipped, CoversEveryContextAndNamesExistingPages) {
    const std::filesystem::path folder = std::filesystem::path(DALVEX_RESOURCE_DIR) / "help";
    std::ifstream in(folder / "index.txt", std::ios::binary);
    ASSERT_TRUE(in) << folder;
    std::ostringstream text;
    text << in.rdbuf();
    const HelpIndex index = HelpIndex::Parse(text.str());

    EXPECT_TRUE(index.SkippedLines().empty());
    for (int context : {1,  2,  3,  4,  5,  6,  10, 11, 12, 13, 14, 30, 31, 32,
                        33, 34, 35, 36, 40, 41, 42, 43, 44, 45, 47, 50, 99})
        EXPECT_NE(index.Find(context), nullptr) << context;
    for (const HelpTopic& topic : index.Topics())
        EXPECT_TRUE(std::filesystem::exists(folder / topic.file)) << topic.file;
}

}  // namespace
}  // namespace dalvex
