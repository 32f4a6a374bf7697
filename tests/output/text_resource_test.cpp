#include "output/text_resource.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <set>
#include <sstream>

#include "core/text.h"
#include "core/workspace.h"
#include "output/sth_builtin.h"
#include "sth_table.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

namespace fs = std::filesystem;

std::string Le16(std::size_t value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

void PutLe16(std::string& image, std::size_t at, std::size_t value) {
    image.replace(at, 2, Le16(value));
}

std::size_t GetLe16(std::string_view image, std::size_t at) {
    return static_cast<unsigned char>(image[at]) |
           static_cast<std::size_t>(static_cast<unsigned char>(image[at + 1])) << 8;
}

// A hand-built image: groups 0 .. groups.size() - 1, each with its UTF-8
// texts; a group without texts points at the table (no entries at all).
std::string Image(const std::vector<std::vector<std::string>>& groups) {
    std::string entries;
    std::vector<std::size_t> offsets;
    for (const auto& texts : groups) {
        offsets.push_back(texts.empty() ? 0 : 2 + entries.size());
        for (const auto& text : texts) {
            const std::string bytes = Utf8ToCp1251(text);
            entries += static_cast<char>(bytes.size()) + bytes + '\n';
        }
    }
    const std::size_t table = 2 + entries.size();
    std::string image = Le16(table) + entries;
    for (std::size_t offset : offsets)
        image += Le16(offset == 0 ? table : offset);
    return image;
}

const std::string kHypothesis = "Гипотеза 0: <Нет различий между средними выборок>";

std::string SmallImage() {
    return Image({{"alpha", "beta"}, {}, {}, {"", kHypothesis}, {}, {"x", std::string(100, 'y')}});
}

std::string BuiltinImage() {
    return std::string(BuiltinSthBytes());
}

TEST(TextResourcesTest, ReadsEntriesByGroupAndNumber) {
    TextResources r;
    ASSERT_TRUE(r.Load(SmallImage()));
    EXPECT_EQ(r.GroupCount(), 6);
    EXPECT_EQ(r.Entry(0, 1), "alpha");
    EXPECT_EQ(r.Entry(0, 2), "beta");
    EXPECT_EQ(r.EntryCount(3), 2);
    EXPECT_EQ(r.Entry(3, 1), "");
    EXPECT_EQ(r.Entry(5, 1), "x");
    // A text longer than a resource line holds is cut when read.
    EXPECT_EQ(r.Entry(5, 2), std::string(ResourceTextChars, 'y'));

    const std::pair<int, int> unknown[] = {{0, 0}, {0, 3}, {1, 1}, {4, 1}, {6, 1}, {-1, 1}};
    for (const auto& [group, n] : unknown)
        EXPECT_EQ(r.Entry(group, n), "") << group << "|" << n;
}

TEST(TextResourcesTest, CyrillicEntryRoundTripsThroughWindowsCyrillic) {
    const std::string image = SmallImage();
    // Stored one byte per character ("Г" is 0xC3 in Windows Cyrillic) ...
    EXPECT_NE(image.find("\xC3\xE8\xEF\xEE\xF2\xE5\xE7\xE0"), std::string::npos);
    TextResources r;
    ASSERT_TRUE(r.Load(image));
    // ... and handed out as UTF-8.
    EXPECT_EQ(r.Entry(3, 2), kHypothesis);

    ScriptedDialogs dialogs;
    Workspace ws(dialogs);
    ReadTextResource(ws, r, 3, 2);
    EXPECT_EQ(ws.TextBuffer(), kHypothesis);
    ReadTextResource(ws, r, 3, 9);
    EXPECT_EQ(ws.TextBuffer(), "");
}

TEST(TextResourcesTest, RefusesDamagedImagesAndKeepsWhatItHeld) {
    const std::string good = SmallImage();
    const std::size_t table = GetLe16(good, 0);
    struct Case {
        const char* what;
        std::string bytes;
    };
    std::vector<Case> cases = {
        {"empty file", ""},
        {"one byte", good.substr(0, 1)},
        {"cut inside the entries", good.substr(0, table - 3)},
        {"cut to an odd table", good.substr(0, good.size() - 1)},
        {"no group table at all", good.substr(0, table)},
    };
    auto damaged = [&](const char* what, auto change) {
        std::string bytes = good;
        change(bytes);
        cases.push_back({what, bytes});
    };
    damaged("group table beyond the file", [&](std::string& b) { PutLe16(b, 0, b.size() + 2); });
    damaged("group table inside the header", [&](std::string& b) { PutLe16(b, 0, 1); });
    damaged("group offset past the end", [&](std::string& b) { PutLe16(b, table + 2, 0xFFFF); });
    damaged("group offset into the header", [&](std::string& b) { PutLe16(b, table, 1); });
    damaged("group offset inside an entry", [&](std::string& b) { PutLe16(b, table + 2, 3); });
    damaged("length byte running past the end", [&](std::string& b) { b[2] = '\xFF'; });

    for (const auto& c : cases) {
        TextResources r;
        ASSERT_TRUE(r.Load(good));
        EXPECT_FALSE(r.Load(c.bytes)) << c.what;
        EXPECT_EQ(r.Entry(0, 1), "alpha") << c.what;
    }
}

TEST(TextResourcesTest, DamagedBytesNeverReadOutsideTheImage) {
    const std::string good = BuiltinImage();
    std::mt19937 random(1234);
    for (int trial = 0; trial < 1000; ++trial) {
        std::string bytes = good;
        for (int flips = 1 + trial % 4; flips > 0; --flips)
            bytes[random() % bytes.size()] = static_cast<char>(random());
        if (trial % 5 == 0)
            bytes.resize(random() % bytes.size());
        TextResources r;
        if (!r.Load(bytes))
            continue;
        for (int g = 0; g < r.GroupCount(); ++g)
            for (int n = 1; n <= r.EntryCount(g); ++n)
                ASSERT_LE(CharLength(r.Entry(g, n)), std::size_t{ResourceTextChars});
    }
}

class TextResourceFileTest : public ::testing::Test {
  protected:
    void SetUp() override { ws_.ProgramFolder = root_.string() + "/"; }

    void WriteSth(const std::string& bytes) const {
        std::ofstream(root_ / "Sth.ini", std::ios::binary) << bytes;
    }
    std::string ReadSth() const {
        std::ifstream in(root_ / "Sth.ini", std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    TempFolder temp_{"sth"};
    fs::path root_ = temp_.path();
    ScriptedDialogs dialogs_;
    Workspace ws_{dialogs_};
};

TEST_F(TextResourceFileTest, DamagedOrMissingFileFallsBackToBuiltinWithOneNotice) {
    const std::string damagedNotice =
        "!ФАЙЛ ТЕКСТОВ Sth.ini ПОВРЕЖДЕН - ИСПОЛЬЗУЮТСЯ ВСТРОЕННЫЕ ТЕКСТЫ!";
    const std::string missingNotice =
        "!НЕ УДАЛОСЬ ПРОЧИТАТЬ ФАЙЛ ТЕКСТОВ Sth.ini - ИСПОЛЬЗУЮТСЯ ВСТРОЕННЫЕ ТЕКСТЫ!";
    const std::string good = BuiltinImage();
    const std::size_t table = GetLe16(good, 0);
    const std::size_t lastGroup = GetLe16(good, good.size() - 2);

    struct Case {
        const char* what;
        std::optional<std::string> bytes;  // none: no file
        std::string notice;
    };
    auto changed = [&](auto change) {
        std::string bytes = good;
        change(bytes);
        return bytes;
    };
    const Case cases[] = {
        {"missing", std::nullopt, missingNotice},
        {"empty", std::string(), damagedNotice},
        {"cut inside the entries", good.substr(0, good.size() / 2), damagedNotice},
        // Even a cut on a table slot is seen: the table then misses groups.
        {"cut by one group", good.substr(0, good.size() - 2), damagedNotice},
        {"cut by one byte", good.substr(0, good.size() - 1), damagedNotice},
        {"group table beyond the file",
         changed([](std::string& b) { PutLe16(b, 0, b.size() + 2); }), damagedNotice},
        {"group offset past the end",
         changed([&](std::string& b) { PutLe16(b, table + 2 * 50, 0xFFFF); }), damagedNotice},
        {"length byte running past the end",
         changed([&](std::string& b) { b[lastGroup] = '\xFF'; }), damagedNotice},
        {"larger than any text resource file", good + std::string(1 << 17, '\0'), damagedNotice},
    };
    for (const auto& c : cases) {
        fs::remove(root_ / "Sth.ini");
        if (c.bytes)
            WriteSth(*c.bytes);
        dialogs_.ClearLog();
        TextResources table;
        EXPECT_FALSE(LoadTextResourceFile(ws_, table)) << c.what;
        EXPECT_EQ(dialogs_.notices(), std::vector<std::string>{c.notice}) << c.what;
        EXPECT_EQ(ws_.resources, &table);
        EXPECT_EQ(table.Entry(50, 1), TextResources::Builtin().Entry(50, 1)) << c.what;
        // Lookups after the fallback say nothing more.
        for (int n = 1; n <= 12; ++n)
            ReadTextResource(ws_, table, 92, n);
        EXPECT_EQ(dialogs_.notices().size(), 1u) << c.what;
    }
}

TEST_F(TextResourceFileTest, FolderNamedLikeTheFileCountsAsUnreadable) {
    fs::create_directory(root_ / "Sth.ini");
    TextResources table;
    EXPECT_FALSE(LoadTextResourceFile(ws_, table));
    ASSERT_EQ(dialogs_.notices().size(), 1u);
    EXPECT_NE(dialogs_.notices()[0].find("НЕ УДАЛОСЬ ПРОЧИТАТЬ"), std::string::npos);
}

TEST_F(TextResourceFileTest, FileTextsAreUsedInsteadOfBuiltinOnes) {
    SthSource source;
    std::string error;
    ASSERT_TRUE(ParseSthSource("50|1|МОЯ СТАТИСТИКА.\n92|2|Вилкоксон=\n", source, error));
    std::string image;
    ASSERT_TRUE(BuildSthImage(source, image, error));
    WriteSth(image);
    TextResources table;
    EXPECT_TRUE(LoadTextResourceFile(ws_, table));
    EXPECT_TRUE(dialogs_.notices().empty());
    EXPECT_EQ(table.Entry(50, 1), "МОЯ СТАТИСТИКА.");
    EXPECT_EQ(table.Entry(51, 1), "");
}

TEST_F(TextResourceFileTest, FirstStartWritesTheBuiltinFileOnlyWhenMissing) {
    ASSERT_TRUE(WriteTextResourceFileIfMissing(ws_.ProgramFolder));
    EXPECT_EQ(ReadSth(), BuiltinImage());
    TextResources table;
    EXPECT_TRUE(LoadTextResourceFile(ws_, table));
    EXPECT_TRUE(dialogs_.notices().empty());
    EXPECT_EQ(table.Entry(92, 8), TextResources::Builtin().Entry(92, 8));

    WriteSth("not ours");
    EXPECT_TRUE(WriteTextResourceFileIfMissing(ws_.ProgramFolder));
    EXPECT_EQ(ReadSth(), "not ours");

    EXPECT_FALSE(WriteTextResourceFileIfMissing(ws_.ProgramFolder + "no/such/folder/"));
}

// The shipped table against what the methods read.

TEST(ShippedTextResourcesTest, EveryMethodOfTheMenuHasItsOwnTitle) {
    const auto& r = TextResources::Builtin();
    std::set<std::string> titles;
    for (int group = 50; group <= 84; ++group) {
        const std::string title = r.Entry(group, 1);
        EXPECT_FALSE(title.empty()) << group;
        titles.insert(title);
    }
    EXPECT_EQ(titles.size(), 35u);
}

TEST(ShippedTextResourcesTest, VerdictPairsSayNotSignificantFirst) {
    const auto& r = TextResources::Builtin();
    // {verdict group, index of the "not significant" entry}
    const std::pair<int, int> verdicts[] = {
        {0, 1},  {1, 1},  {2, 1},  {2, 3},  {3, 1},  {4, 1},  {5, 1},  {6, 1},
        {7, 1},  {8, 1},  {9, 1},  {10, 1}, {11, 1}, {12, 1}, {16, 1}, {17, 1},
        {17, 3}, {18, 1}, {19, 1}, {20, 1}, {21, 1}, {23, 1}, {24, 1},
    };
    for (const auto& [group, index] : verdicts) {
        EXPECT_EQ(r.Entry(group, index).rfind("Гипотеза 0: <", 0), 0u) << group << "|" << index;
        EXPECT_EQ(r.Entry(group, index + 1).rfind("Гипотеза 1: <", 0), 0u)
            << group << "|" << index + 1;
    }
}

TEST(ShippedTextResourcesTest, NonlinearModelTitlesEndInTheirFittingFormula) {
    const auto& r = TextResources::Builtin();
    for (int code = 1; code <= 22; ++code)
        EXPECT_NE(r.Entry(90, code + 2).find("Y="), std::string::npos) << code;

    // {model code, highest coefficient index}
    const std::pair<int, int> nonlinear[] = {{7, 2}, {12, 2}, {18, 2}, {21, 3}, {22, 4}};
    for (const auto& [code, highest] : nonlinear) {
        const std::string title = r.Entry(90, code + 2);
        const std::string formula = title.substr(title.find('=') + 1);
        for (char c : formula)
            EXPECT_TRUE(c > ' ' && static_cast<unsigned char>(c) < 0x80) << code << ": " << formula;
        for (int k = 0; k <= highest; ++k)
            EXPECT_NE(formula.find("a" + std::to_string(k)), std::string::npos) << code;
        EXPECT_EQ(formula.find("a" + std::to_string(highest + 1)), std::string::npos) << code;
        EXPECT_NE(formula.find('x'), std::string::npos) << code;
    }
}

TEST(ShippedTextResourcesTest, RankTestLabelsEndInAnEqualsSign) {
    const auto& r = TextResources::Builtin();
    for (int n : {2, 3, 4, 5, 7, 8, 10, 11}) {
        const std::string label = r.Entry(92, n);
        ASSERT_FALSE(label.empty()) << n;
        EXPECT_EQ(label.back(), '=') << n;
    }
}

TEST(ShippedTextResourcesTest, BuiltinTableHoldsExactlyTheSourceTexts) {
    std::ifstream in(DALVEX_STH_SOURCE, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    SthSource source;
    std::string error;
    ASSERT_TRUE(ParseSthSource(text.str(), source, error)) << error;

    const auto& r = TextResources::Builtin();
    ASSERT_EQ(r.GroupCount(), source.rbegin()->first + 1);
    for (int group = 0; group < r.GroupCount(); ++group) {
        const auto it = source.find(group);
        if (it == source.end()) {
            EXPECT_EQ(r.Entry(group, 1), "") << group;
            continue;
        }
        ASSERT_EQ(r.EntryCount(group), static_cast<int>(it->second.size())) << group;
        for (std::size_t n = 1; n <= it->second.size(); ++n)
            EXPECT_EQ(r.Entry(group, static_cast<int>(n)), it->second[n - 1]) << group << "|" << n;
    }
}

TEST(ShippedTextResourcesTest, EveryGroupStartsWithAnEntryInsideTheFile) {
    // Reading entry 1 straight from the bytes, as the layout allows, stays
    // inside the file for every group, unused ones included.
    const std::string image = BuiltinImage();
    const std::size_t table = GetLe16(image, 0);
    for (std::size_t slot = table; slot < image.size(); slot += 2) {
        const std::size_t entry = GetLe16(image, slot);
        ASSERT_GE(entry, 2u);
        ASSERT_LT(entry, table);
        EXPECT_LE(entry + static_cast<unsigned char>(image[entry]) + 2, table);
    }
}

// The generator's reading of the source table.

TEST(SthSourceTest, ReadsEntriesSkippingCommentsAndFillingGaps) {
    SthSource source;
    std::string error;
    ASSERT_TRUE(ParseSthSource(
        "# comment\r\n\r\n7|2|  два|три \r\n7|4|\n3|1|" + std::string(79, 'z') + "\n", source,
        error))
        << error;
    ASSERT_EQ(source.size(), 2u);
    EXPECT_EQ(source[7], (std::vector<std::string>{"", "  два|три ", "", ""}));
    EXPECT_EQ(source[3][0].size(), 79u);
}

TEST(SthSourceTest, RefusesMalformedLinesNamingTheLine) {
    const std::string cyrillic79 = [] {
        std::string s;
        for (int i = 0; i < 79; ++i)
            s += "Ж";
        return s;
    }();
    ASSERT_EQ(CharLength(cyrillic79), 79u);
    SthSource accepted;
    std::string error;
    EXPECT_TRUE(ParseSthSource("1|1|" + cyrillic79, accepted, error)) << error;

    const std::pair<std::string, std::string> cases[] = {
        {"1|1|" + cyrillic79 + "Ж", "80 characters"},
        {"1|1|ok\n5|text", "group|entry|text"},
        {"x|1|text", "group must be"},
        {"-1|1|text", "group must be"},
        {"1|0|text", "entry must be"},
        {"1| 2|text", "entry must be"},
        {"1|1|a\n# c\n1|1|b", "given twice"},
        {"1|1|стрелка →", "Windows Cyrillic"},
        {"1|1|\xFF\xFE", "Windows Cyrillic"},
    };
    for (const auto& [text, reason] : cases) {
        SthSource source;
        std::string message;
        EXPECT_FALSE(ParseSthSource(text, source, message)) << text;
        EXPECT_NE(message.find(reason), std::string::npos) << text << " -> " << message;
        EXPECT_EQ(message.rfind("line ", 0), 0u) << message;
    }
    std::string message;
    SthSource source;
    ParseSthSource("1|1|a\n# c\n1|1|b", source, message);
    EXPECT_EQ(message.rfind("line 3: ", 0), 0u) << message;
}

}  // namespace
}  // namespace dalvex
