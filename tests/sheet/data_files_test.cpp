#include "sheet/data_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/sheet_bridge.h"
#include "core/text.h"
#include "sheet/csv_data_file.h"
#include "sheet/data_file_io.h"
#include "sheet/dbase_data_file.h"
#include "sheet/file_dialog_model.h"
#include "sheet/native_data_file.h"
#include "sheet/text_data_file.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

namespace fs = std::filesystem;

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

void PutBytes(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// One native record: a length byte and Windows Cyrillic text.
std::string Rec(const std::string& utf8) {
    const std::string bytes = Utf8ToCp1251(utf8);
    return std::string(1, static_cast<char>(bytes.size())) + bytes;
}

class DataFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ws.ProgramFolder = dir.string() + "/";
        sheet.FormIni();
    }

    std::string Path(const std::string& name) const { return (dir / name).string(); }

    // rows[r][c] goes to column c + 1, row r + 1; "" leaves the cell empty.
    void Fill(const std::vector<std::vector<std::string>>& rows, int firstColumn = 1) {
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (std::size_t c = 0; c < rows[r].size(); ++c)
                if (!rows[r][c].empty())
                    PutSheetText(ws, rows[r][c], firstColumn + static_cast<int>(c),
                                 static_cast<int>(r));
    }
    void Name(int col, const std::string& name) { PutSheetText(ws, name, col, -1); }
    std::vector<std::string> Column(int col) const {
        std::vector<std::string> out;
        for (int r = 1; r <= ws.sheet.ColumnLength(col); ++r)
            out.push_back(Trim(ws.sheet.Cell(col, r)));
        return out;
    }
    std::string NameOf(int col) const { return Trim(ws.sheet.Cell(col, 0)); }
    std::string Label(int row) const { return Trim(ws.sheet.Cell(0, row)); }

    void ReadInto(DataFormat format, std::string_view bytes) {
        switch (format) {
            case DataFormat::Native:
                ReadNativeData(ws, bytes);
                break;
            case DataFormat::DBase:
                ReadDBaseData(ws, bytes);
                break;
            case DataFormat::Csv:
                ReadCsvData(ws, bytes);
                break;
            default:
                ReadTextData(ws, bytes);
                break;
        }
    }

    TempFolder temp{"files"};
    fs::path dir = temp.path();
    ScriptedDialogs ui;
    Workspace ws{ui};
    TSht1 sheet{ws};
    SheetFiles files{ws, sheet};
    using Col = std::vector<std::string>;
};

// ---------------------------------------------------------------------------
// Every format: what is written reads back.

struct RoundTrip {
    const char* file;
    bool keepsLabels;
    std::size_t longestText;  // characters a cell keeps
    std::size_t nameChars;
    const char* decimalComma;  // how "175,5" comes back
};

void PrintTo(const RoundTrip& format, std::ostream* out) {
    *out << format.file;
}

class RoundTripTest : public DataFilesTest, public ::testing::WithParamInterface<RoundTrip> {};

TEST_P(RoundTripTest, NamesLabelsCellsGapsAndLongTextsComeBack) {
    const RoundTrip& format = GetParam();
    std::string longText(200, 'x');  // 255 characters, 310 bytes in UTF-8
    for (int i = 0; i < 55; ++i)
        longText += "ж";
    Name(1, "рост");
    Name(2, "вес");
    Name(3, "комментарий");
    Fill({{"175,5", "", "a b"}, {"-3E-5", "70", longText}, {"", "71"}, {"160"}});
    PutSheetText(ws, "№1", 0, 0);
    PutSheetText(ws, "Ж 2", 0, 1);

    ASSERT_TRUE(files.Write(Path(format.file), "Опыт"));
    sheet.ShtFre();
    ASSERT_TRUE(files.Read(Path(format.file), true));

    EXPECT_TRUE(ui.notices().empty()) << ui.notices().front();
    ASSERT_EQ(ws.sheet.VariableCount(), 3);
    EXPECT_EQ(NameOf(1), "рост");
    EXPECT_EQ(NameOf(2), "вес");
    EXPECT_EQ(NameOf(3), CharCut("комментарий", format.nameChars));
    EXPECT_EQ(Column(1), (Col{format.decimalComma, "-3E-5", "", "160"}));
    EXPECT_EQ(Column(2), (Col{"", "70", "71"}));
    EXPECT_EQ(Column(3), (Col{"a b", CharCut(longText, format.longestText)}));
    EXPECT_EQ(Label(1), format.keepsLabels ? "№1" : "1");
    EXPECT_EQ(Label(2), format.keepsLabels ? "Ж 2" : "2");
    EXPECT_EQ(Label(3), "3");
    EXPECT_EQ(files.Caption(), std::string("Данные: ") + format.file + " - " +
                                   (std::string(format.file).ends_with(".dvx") ? "Опыт" : ""));
}

INSTANTIATE_TEST_SUITE_P(AllFormats, RoundTripTest,
                         // CSV files carry numbers with a decimal point, for R and spreadsheets.
                         ::testing::Values(RoundTrip{"data.dvx", true, 255, 255, "175,5"},
                                           RoundTrip{"data.txt", true, 255, 255, "175,5"},
                                           RoundTrip{"data.tab", true, 255, 255, "175,5"},
                                           RoundTrip{"data.dbf", false, 254, 10, "175,5"},
                                           RoundTrip{"data.csv", true, 255, 255, "175.5"}),
                         [](const auto& info) {
                             return std::string(LowerExtension(info.param.file)).substr(1);
                         });

TEST_F(DataFilesTest, NativeFileIsByteExactAndReadsBackCellForCell) {
    Fill({{"1", "4"}, {"2", "5"}, {"3"}});
    const std::string expected = Rec("Опыт") + Rec("-1") + Rec("2") + Rec("3") + Rec("2") +
                                 Rec("      x1") + Rec("      x2") + Rec("   1") + Rec("   2") +
                                 Rec("   3") + Rec("       1") + Rec("       2") + Rec("       3") +
                                 Rec("       4") + Rec("       5");
    ASSERT_EQ(WriteNativeData(ws, "Опыт"), expected);

    // Cells exactly as held: an empty cell inside a column stays empty.
    ws.sheet.SetCell(1, 2, "");
    const std::string bytes = WriteNativeData(ws, "Опыт");
    sheet.ShtFre();
    EXPECT_EQ(ReadNativeData(ws, bytes).title, "Опыт");
    EXPECT_EQ(WriteNativeData(ws, "Опыт"), bytes);
    EXPECT_EQ(ws.sheet.Cell(1, 2), "");
}

TEST_F(DataFilesTest, NativeFileAppendsAfterTheSheetsVariablesWithoutTheirLabels) {
    Fill({{"1", "2", "3", "4"}});
    PutSheetText(ws, "A", 0, 0);
    const std::string bytes = Rec("t") + Rec("-1") + Rec("1") + Rec("2") + Rec("  new") +
                              Rec("  L1") + Rec("  L2") + Rec("7") + Rec("8");
    ReadNativeData(ws, bytes);
    EXPECT_EQ(ws.sheet.VariableCount(), 5);
    EXPECT_EQ(ws.sheet.Cell(5, 0), "  new");  // names as they are in the file
    EXPECT_EQ(Column(5), (Col{"7", "8"}));
    EXPECT_EQ(Label(1), "A");
    EXPECT_EQ(Label(2), "2");

    // A file without labels: its second record is the count itself.
    ReadNativeData(ws, Rec("") + Rec("1") + Rec("1") + Rec("z") + Rec("9"));
    EXPECT_EQ(Column(6), (Col{"9"}));
    EXPECT_TRUE(ui.notices().empty());
}

TEST_F(DataFilesTest, NativeFileCutShortKeepsWhatWasReadAndSaysSo) {
    Fill({{"1", "4"}, {"2", "5"}, {"3"}});
    const std::string bytes = WriteNativeData(ws, "title");
    for (std::size_t cut = 1; cut < bytes.size(); ++cut) {
        sheet.ShtFre();
        ui.ClearLog();
        ReadNativeData(ws, std::string_view(bytes).substr(0, cut));
        ASSERT_EQ(ui.notices(), std::vector<std::string>{FileIncompleteText}) << cut;
        ASSERT_LE(ws.sheet.VariableCount(), 2) << cut;
        ASSERT_LE(ws.sheet.ColumnLength(1), 3) << cut;
    }
    // Cut inside the second variable's cells: the first one is whole.
    EXPECT_EQ(Column(1), (Col{"1", "2", "3"}));
    EXPECT_EQ(Column(2), (Col{"4"}));
}

TEST_F(DataFilesTest, NativeFileWithBadCountsChangesNothing) {
    struct Case {
        std::string bytes;
        std::string notice;
    };
    const std::vector<Case> cases = {
        {Rec("t") + Rec("-1") + Rec("два"), "!ОШИБКА В ФАЙЛЕ: \"два\" НЕ ЦЕЛОЕ ЧИСЛО!"},
        {Rec("t") + Rec("-1") + Rec("-1"), "!ОШИБКА В ФАЙЛЕ: \"-1\" НЕ ЦЕЛОЕ ЧИСЛО!"},
        {Rec("t") + Rec("1") + Rec("-5"), "!ОШИБКА В ФАЙЛЕ: \"-5\" НЕ ЦЕЛОЕ ЧИСЛО!"},
        {Rec("t") + Rec("-1") + Rec("499"), FileTooLargeText},  // beyond column 500
        {Rec("t") + Rec("1") + Rec("16001"), FileTooLargeText},
        {Rec("t") + Rec("-1") + Rec("99999999999"),
         "!ОШИБКА В ФАЙЛЕ: \"99999999999\" НЕ ЦЕЛОЕ ЧИСЛО!"},
    };
    Fill({{"1", "2"}});
    for (const Case& c : cases) {
        ui.ClearLog();
        EXPECT_FALSE(ReadNativeData(ws, c.bytes).headerRead);
        EXPECT_EQ(ui.notices(), std::vector<std::string>{c.notice});
        EXPECT_EQ(ws.sheet.VariableCount(), 2);
        EXPECT_EQ(NameOf(3), "x3");
    }
}

TEST_F(DataFilesTest, NativeFileBeyondTheSheetsCapacityStopsWithTheOverflowNotice) {
    // Five variables of 16000 values are 80000, more than the 65000 the sheet holds.
    std::string bytes = Rec("") + Rec("5");
    for (int k = 0; k < 5; ++k)
        bytes += Rec("16000");
    for (int k = 0; k < 5; ++k)
        bytes += Rec("v" + std::to_string(k));
    for (int i = 0; i < 5 * 16000; ++i)
        bytes += Rec("1");
    ReadNativeData(ws, bytes);
    EXPECT_EQ(ws.sheet.FilledCells(), CellCapacity);
    EXPECT_EQ(ui.notices(), std::vector<std::string>{SheetOverflowText()});
}

// ---------------------------------------------------------------------------
// Text files.

TEST_F(DataFilesTest, TextWritersAreByteExact) {
    Name(1, "рост");
    Name(2, "вес");
    Fill({{"1,5", "3"}, {"2"}});
    EXPECT_EQ(WriteTextData(ws, ' '), Utf8ToCp1251("рост вес\r\n1,5 3\r\n2 ?\r\n"));
    EXPECT_EQ(WriteTextData(ws, '\t'), Utf8ToCp1251("рост\tвес\r\n1,5\t3\r\n2\t\r\n"));

    // A label that is not its row number, wherever it is, brings all labels along.
    PutSheetText(ws, "№2", 0, 1);
    EXPECT_EQ(WriteTextData(ws, ' '), Utf8ToCp1251("объекты рост вес\r\n1 1,5 3\r\n№2 2 ?\r\n"));
}

TEST_F(DataFilesTest, NumericFirstNameIsNotTakenForDataOnReading) {
    Name(1, "1990");
    Name(2, "2000");
    Fill({{"5", "6"}});
    const std::string bytes = WriteTextData(ws, ' ');
    sheet.ShtFre();
    ReadTextData(ws, bytes);
    EXPECT_EQ(NameOf(1), "1990");
    EXPECT_EQ(Column(2), (Col{"6"}));
}

// ---------------------------------------------------------------------------
// CSV files.

// A missing cell is an empty field among numbers and a bare NA among texts,
// so that R's read.csv takes both for missing values.
TEST_F(DataFilesTest, CsvWriterQuotesTextsOnlyAndWritesNumbersWithAPoint) {
    Name(1, "рост");
    Name(2, "a \"b\", c");
    Fill({{"1,5", "NA"}, {"", "x;y"}, {"-2E3"}});
    EXPECT_EQ(WriteCsvData(ws),
              "\"рост\",\"a \"\"b\"\", c\"\r\n1.5,\"NA\"\r\n,\"x;y\"\r\n-2E3,NA\r\n");
    EXPECT_EQ(WriteCsvData(ws, TextEncoding::Cp1251),
              Utf8ToCp1251("\"рост\",\"a \"\"b\"\", c\"\r\n1.5,\"NA\"\r\n,\"x;y\"\r\n-2E3,NA\r\n"));

    // Labels other than the row numbers come first under an empty name, as R
    // writes its row names.
    PutSheetText(ws, "Иванов", 0, 0);
    EXPECT_EQ(WriteCsvData(ws),
              "\"\",\"рост\",\"a \"\"b\"\", c\"\r\n\"Иванов\",1.5,\"NA\"\r\n"
              "\"2\",,\"x;y\"\r\n\"3\",-2E3,NA\r\n");
}

// A missing cell of a one-variable sheet would be an empty line, which
// readers skip: the values below would move up a row.
TEST_F(DataFilesTest, CsvOfOneVariableKeepsItsMissingCellsInPlace) {
    Name(1, "x");
    Fill({{"1"}, {""}, {"3"}});
    ws.sheet.SetColumnLength(1, 3);
    const std::string bytes = WriteCsvData(ws);
    EXPECT_EQ(bytes, "\"x\"\r\n1\r\n\"\"\r\n3\r\n");
    sheet.ShtFre();
    ReadCsvData(ws, bytes);
    EXPECT_EQ(Column(1), (Col{"1", "", "3"}));
}

struct LayoutCase {
    const char* what;
    const char* text;
    char separator;
    bool decimalComma;
};

TEST_F(DataFilesTest, CsvSeparatorAndDecimalCommaAreDetected) {
    const LayoutCase cases[] = {
        {"Commas", "a,b\n1.5,2\n", ',', false},
        {"Semicolons", "a;b\n1;2\n", ';', false},
        {"SemicolonsWithDecimalCommas", "a;b\n1,5;2\n", ';', true},
        {"SemicolonInsideQuotesIsText", "\"a;b\",c\n1,2\n", ',', false},
        {"CommaInsideQuotesIsText", "\"a,b\";c\n1;2\n", ';', false},
        {"OneColumnOfDecimalCommas", "x\n1,5\n2\n-0,25\n", ';', true},
        {"OneColumnThenSemicolons", "x\n1;2\n", ';', false},
        {"OneColumnOfPlainNumbers", "x\n1\n2\n", ',', false},
        {"TwoCommasAreTwoSeparators", "x\n1,5,6\n", ',', false},
        {"Empty", "", ',', false},
    };
    for (const LayoutCase& c : cases) {
        const CsvLayout layout = DetectCsvLayout(c.text);
        EXPECT_EQ(layout.separator, c.separator) << c.what;
        EXPECT_EQ(layout.decimalComma, c.decimalComma) << c.what;
    }
}

// The readers of text and CSV files over small files: names, columns and
// labels as read, and no notice.
struct ReaderCase {
    DataFormat format;  // Text (blank or TAB separated) or Csv
    const char* what;
    // UTF-8; a text file is converted to Windows Cyrillic, a CSV file is read
    // as it is.
    const char* file;
    std::vector<std::string> names;
    std::vector<std::vector<std::string>> columns;
    std::vector<std::string> labels;
};

std::string CaseName(const ReaderCase& c) {
    return std::string(c.format == DataFormat::Csv ? "Csv" : "Text") + c.what;
}

void PrintTo(const ReaderCase& c, std::ostream* out) {
    *out << CaseName(c);
}

class ReaderTest : public DataFilesTest, public ::testing::WithParamInterface<ReaderCase> {};

TEST_P(ReaderTest, Reads) {
    const ReaderCase& c = GetParam();
    ReadInto(c.format, c.format == DataFormat::Csv ? std::string(c.file) : Utf8ToCp1251(c.file));
    EXPECT_EQ(ui.notices(), std::vector<std::string>{});
    ASSERT_EQ(ws.sheet.VariableCount(), static_cast<int>(c.columns.size()));
    for (std::size_t i = 0; i < c.names.size(); ++i)
        EXPECT_EQ(NameOf(static_cast<int>(i) + 1), c.names[i]);
    for (std::size_t i = 0; i < c.columns.size(); ++i)
        EXPECT_EQ(Column(static_cast<int>(i) + 1), c.columns[i]) << "column " << i + 1;
    for (std::size_t i = 0; i < c.labels.size(); ++i)
        EXPECT_EQ(Label(static_cast<int>(i) + 1), c.labels[i]);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReaderTest,
    ::testing::Values(
        ReaderCase{DataFormat::Text,
                   "NumberFirstMeansNoNamesLine",
                   "1 2\r\n3 4\r\n",
                   {"x1", "x2"},
                   {{"1", "3"}, {"2", "4"}},
                   {}},
        ReaderCase{DataFormat::Text,
                   "LabelsWord",
                   "объекты a b\r\n№1 1 2\r\n№2 3 4\r\n",
                   {"a", "b"},
                   {{"1", "3"}, {"2", "4"}},
                   {"№1", "№2"}},
        ReaderCase{DataFormat::Text,
                   "BlankRunsAreOneSeparator",
                   "a    b\r\n  1   2  \r\n",
                   {"a", "b"},
                   {{"1"}, {"2"}},
                   {}},
        ReaderCase{DataFormat::Text,
                   "EmptyTabFieldKeepsColumns",
                   "a\tb\tc\r\n1\t\t3\r\n\t5\t6\r\n",
                   {"a", "b", "c"},
                   {{"1"}, {"", "5"}, {"3", "6"}},
                   {}},
        ReaderCase{DataFormat::Text,
                   "MissingMarkKeepsColumns",
                   "a b\r\n? 2\r\n3 ?\r\n",
                   {"a", "b"},
                   {{"", "3"}, {"2"}},
                   {}},
        ReaderCase{
            DataFormat::Text, "LastLineWithoutLineEnd", "a\r\n12345", {"a"}, {{"12345"}}, {}},
        ReaderCase{DataFormat::Text,
                   "LineFeedsOnly",
                   "a b\n1 2\n3 4",
                   {"a", "b"},
                   {{"1", "3"}, {"2", "4"}},
                   {}},
        ReaderCase{DataFormat::Text,
                   "CarriageReturnsOnly",
                   "a b\r1 2\r3 4\r",
                   {"a", "b"},
                   {{"1", "3"}, {"2", "4"}},
                   {}},
        ReaderCase{DataFormat::Text,
                   "CommentsAnywhere",
                   "; data\r\na b\r\n;1 1\r\n1 2\r\n  ; more\r\n3 4\r\n",
                   {"a", "b"},
                   {{"1", "3"}, {"2", "4"}},
                   {}},
        ReaderCase{DataFormat::Text,
                   "EmptyLineIsARowOfMissingValues",
                   "a\r\n1\r\n\r\n3\r\n",
                   {"a"},
                   {{"1", "", "3"}},
                   {}},

        ReaderCase{DataFormat::Csv,
                   "EmptyFieldsAndBareNaAreMissing",
                   "a,b,c\r\n1,,NA\r\n\"\",5,\"NA\"\r\n",
                   {"a", "b", "c"},
                   {{"1"}, {"", "5"}, {"", "NA"}},
                   {}},
        ReaderCase{DataFormat::Csv,
                   "NumberFirstMeansNoNamesLine",
                   "1,2\n3,4\n",
                   {"x1", "x2"},
                   {{"1", "3"}, {"2", "4"}},
                   {}},
        ReaderCase{DataFormat::Csv,
                   "QuotedNumberIsAName",
                   "\"1990\",\"2000\"\n5,6\n",
                   {"1990", "2000"},
                   {{"5"}, {"6"}},
                   {}},
        ReaderCase{
            DataFormat::Csv, "EmptyLinesAreSkipped", "a\n\n1\n\n2\n", {"a"}, {{"1", "2"}}, {}},
        ReaderCase{DataFormat::Csv,
                   "CarriageReturnsOnlyAndNoLastLineEnd",
                   "a;b\r1,5;2\r3;4",
                   {"a", "b"},
                   {{"1,5", "3"}, {"2", "4"}},
                   {}},
        ReaderCase{DataFormat::Csv,
                   "SeparatorsAtTheEndKeepColumns",
                   "a,b,c\n,,3\n1,,",
                   {"a", "b", "c"},
                   {{"", "1"}, {}, {"3"}},
                   {}},
        ReaderCase{DataFormat::Csv,
                   "ShortAndLongLines",
                   "a,b\n1\n2,3,4\n",
                   {"a", "b", "x3"},
                   {{"1", "2"}, {"", "3"}, {"", "4"}},
                   {}},
        ReaderCase{DataFormat::Csv,
                   "TextGluedToAClosingQuoteStays",
                   "a\n\"x\"y\n\"p \"\"q\"\"\"\n",
                   {"a"},
                   {{"xy", "p \"q\""}},
                   {}},
        ReaderCase{DataFormat::Csv,
                   "BlanksAroundBareFieldsGo",
                   "a , b\n 1 , x y \n",
                   {"a", "b"},
                   {{"1"}, {"x y"}},
                   {}},
        // A first name that is blank as a cell (a line break) is empty as well.
        ReaderCase{DataFormat::Csv,
                   "LabelsUnderANameOfALineBreak",
                   "\"\r\n\",b\n№1,2\n",
                   {"b"},
                   {{"2"}},
                   {"№1"}},
        ReaderCase{DataFormat::Csv,
                   "LabelsUnderAnEmptyName",
                   ",a\nИванов,1\n,2\n",
                   {"a"},
                   {{"1", "2"}},
                   {"Иванов", "2"}}),
    [](const auto& info) { return CaseName(info.param); });

TEST_F(DataFilesTest, CsvRefusalsAndPartialReadsSaySo) {
    // A quote never closed swallows the rest of the file: what it read stays.
    ReadCsvData(ws, "a,b\n1,\"2\n3,4\n");
    ASSERT_EQ(ui.notices(), std::vector<std::string>{FileIncompleteText});
    EXPECT_EQ(Column(1), Col{"1"});
    EXPECT_EQ(Column(2), Col{"2 3,4"});

    // A zero byte: not a text, and the sheet is not touched.
    sheet.ShtFre();
    ui.ClearLog();
    Fill({{"7"}});
    PutBytes(Path("bin.csv"), std::string("a,b\n1\0,2\n", 10));
    EXPECT_FALSE(files.Read(Path("bin.csv"), false));
    EXPECT_EQ(ui.notices(), std::vector<std::string>{NotATextFileText});
    EXPECT_EQ(ws.sheet.VariableCount(), 1);

    // Wider than the sheet: the variables that fit, whole.
    sheet.ShtFre();
    ui.ClearLog();
    std::string names, values;
    for (int c = 1; c <= SheetColumns + 3; ++c) {
        names += (c > 1 ? ",v" : "v") + std::to_string(c);
        values += (c > 1 ? "," : "") + std::to_string(c);
    }
    ReadCsvData(ws, names + "\n" + values + "\n" + values + "\n");
    EXPECT_EQ(ui.notices(), std::vector<std::string>{TooManyVariablesText(0)});
    EXPECT_EQ(ws.sheet.VariableCount(), SheetColumns);
    EXPECT_EQ(Column(SheetColumns), (Col{"500", "500"}));
}

// The type chosen in the save dialog chooses the encoding of a text file;
// the table of encodings follows the types of the filter.
TEST_F(DataFilesTest, SaveTypeChoosesTheEncodingOfTextFiles) {
    EXPECT_EQ(ParseFilter(SaveDataFilter).size(), 8u);
    Name(1, "рост");
    Fill({{"1"}});
    struct Case {
        const char* file;
        int type;
        std::string bytes;
    };
    const Case cases[] = {
        {"a.txt", 1, Utf8ToCp1251("рост\r\n1\r\n")},
        {"b.txt", 5, "рост\r\n1\r\n"},
        {"c.tab", 6, "рост\r\n1\r\n"},
        {"d.csv", 4, "\"рост\"\r\n1\r\n"},
        {"e.csv", 7, Utf8ToCp1251("\"рост\"\r\n1\r\n")},
        // A UTF-8 type with a CSV name: the name's format in UTF-8.
        {"f.csv", 5, "\"рост\"\r\n1\r\n"},
    };
    for (const Case& c : cases) {
        ui.ExpectFile(1, Path(c.file), "", c.type);
        ASSERT_TRUE(files.Save()) << c.file;
        EXPECT_EQ(Bytes(dir / c.file), c.bytes) << c.file;
        EXPECT_EQ(files.writeChoice(), c.type);
        // Whatever the encoding, the file reads back.
        sheet.ShtFre();
        ASSERT_TRUE(files.Read(Path(c.file), true));
        EXPECT_EQ(NameOf(1), "рост") << c.file;
        EXPECT_EQ(Column(1), Col{"1"}) << c.file;
    }
}

TEST_F(DataFilesTest, TextFileWrittenByAnotherLinuxProgramInUtf8IsRead) {
    ReadTextData(ws, "\xEF\xBB\xBFобъекты рост\n№1 170\n");
    EXPECT_EQ(NameOf(1), "рост");
    EXPECT_EQ(Label(1), "№1");
    EXPECT_EQ(Column(1), (Col{"170"}));
}

// A file wider than the sheet: the variables that fit come with all their
// values, the rest are left out, and one notice says so.
TEST_F(DataFilesTest, WideTextFileKeepsTheVariablesThatFitWithTheirValues) {
    std::string wide;
    for (int line = 0; line < 4; ++line) {
        for (int c = 1; c <= 600; ++c)
            wide += (line == 0 ? "v" + std::to_string(c) : std::to_string(c * 10 + line)) + " ";
        wide += "\r\n";
    }
    ReadTextData(ws, wide);
    EXPECT_EQ(ui.notices(),
              std::vector<std::string>{"!В ФАЙЛЕ БОЛЬШЕ 500 ПЕРЕМЕННЫХ - ПРОЧИТАНЫ ПЕРВЫЕ 500!"});
    EXPECT_EQ(ws.sheet.VariableCount(), 500);
    EXPECT_EQ(NameOf(500), "v500");
    EXPECT_EQ(Column(1), (Col{"11", "12", "13"}));
    EXPECT_EQ(Column(500), (Col{"5001", "5002", "5003"}));

    // Appended after 498 variables: two fit.
    sheet.ShtFre();
    ui.ClearLog();
    for (int c = 1; c <= 498; ++c)
        PutSheetText(ws, "0", c, 0);
    ReadTextData(ws, "a b c\r\n1 2 3\r\n4 5 6\r\n");
    EXPECT_EQ(ui.notices(), std::vector<std::string>{TooManyVariablesText(498)});
    EXPECT_EQ(NameOf(500), "b");
    EXPECT_EQ(Column(500), (Col{"2", "5"}));
    EXPECT_EQ(ws.sheet.VariableCount(), 500);
}

TEST_F(DataFilesTest, TextReaderStopsAtTheLastRow) {
    std::string file = "a\r\n";
    for (int r = 1; r <= SheetRows + 1; ++r)
        file += std::to_string(r) + "\r\n";
    ReadTextData(ws, file);
    EXPECT_EQ(ui.notices(), std::vector<std::string>{FileTooLargeText});
    EXPECT_EQ(ws.sheet.ColumnLength(1), SheetRows);
    EXPECT_EQ(Trim(ws.sheet.Cell(1, SheetRows)), std::to_string(SheetRows));
}

TEST_F(DataFilesTest, SampleDataSetOpens) {
    ASSERT_TRUE(files.Read(std::string(DALVEX_RESOURCE_DIR) + "/samples/demo.txt", true));
    EXPECT_TRUE(ui.notices().empty());
    EXPECT_EQ(ws.sheet.VariableCount(), 5);
    for (int c = 1; c <= 5; ++c)
        EXPECT_EQ(ws.sheet.ColumnLength(c), 40);
    EXPECT_EQ(NameOf(1), "рост");
    EXPECT_EQ(Label(1), "№1");
    EXPECT_EQ(Label(40), "№40");
    EXPECT_EQ(SheetValue(ws, 1, 0), 175.3);
    EXPECT_EQ(files.Caption(), "Данные: demo.txt - ");

    // The same data set as a native file, which the first F3 lists, with
    // its title.
    std::vector<Col> columns;
    for (int c = 0; c <= 5; ++c)
        columns.push_back(c == 0 ? Col{} : Column(c));
    std::vector<std::string> labels;
    for (int r = 1; r <= 40; ++r)
        labels.push_back(Label(r));
    sheet.ShtFre();
    ASSERT_TRUE(files.Read(std::string(DALVEX_RESOURCE_DIR) + "/samples/demo.dvx", true));
    EXPECT_TRUE(ui.notices().empty());
    ASSERT_EQ(ws.sheet.VariableCount(), 5);
    for (int c = 1; c <= 5; ++c)
        EXPECT_EQ(Column(c), columns[static_cast<std::size_t>(c)]) << c;
    for (int r = 1; r <= 40; ++r)
        EXPECT_EQ(Label(r), labels[static_cast<std::size_t>(r) - 1]);
    EXPECT_EQ(files.Caption(),
              "Данные: demo.dvx - Пример: 40 человек - рост, вес, возраст, пульс, пол");
}

// ---------------------------------------------------------------------------
// dBase tables.

// A table of character fields (name, width) and records (a flag and field texts).
std::string Table(const std::vector<std::pair<std::string, int>>& fields,
                  const std::vector<std::string>& records, int claimedRecords = -1) {
    std::string out = "\x03\x60\x02\x05";
    const int count = claimedRecords >= 0 ? claimedRecords : static_cast<int>(records.size());
    int recordLength = 1;
    for (const auto& f : fields)
        recordLength += f.second;
    const int headerLength = 32 * static_cast<int>(fields.size()) + 33;
    for (int v : {count & 0xFF, (count >> 8) & 0xFF, 0, 0, headerLength & 0xFF, headerLength >> 8,
                  recordLength & 0xFF, recordLength >> 8})
        out += static_cast<char>(v);
    out.append(20, '\0');
    for (const auto& [name, width] : fields) {
        std::string d(32, '\0');
        d.replace(0, name.size(), name);
        d[11] = 'C';
        d[16] = static_cast<char>(width);
        out += d;
    }
    out += '\x0D';
    for (const std::string& r : records)
        out += r;
    return out + '\x1A';
}

TEST_F(DataFilesTest, DBaseWriterIsByteExact) {
    Name(1, "рост");
    Fill({{"1"}, {"22"}});
    std::string expected("\x03\x60\x02\x05\x02\x00\x00\x00\x41\x00\x15\x00", 12);
    expected.append(20, '\0');
    std::string descriptor(32, '\0');
    descriptor.replace(0, 4, Utf8ToCp1251("рост"));
    descriptor[11] = 'C';
    descriptor[16] = 20;
    descriptor[20] = 1;
    expected += descriptor + "\x0D" + " " + std::string(19, ' ') + "1" + " " +
                std::string(18, ' ') + "22" + "\x1A";
    EXPECT_EQ(WriteDBaseData(ws), expected);
}

TEST_F(DataFilesTest, DBaseFieldsWidenForLongTextsAndNamesAreCutToTen) {
    Name(1, "оченьдлинноеимя");
    Name(2, "b");
    Fill({{std::string(30, 'z'), "7"}});
    const std::string bytes = WriteDBaseData(ws);
    EXPECT_EQ(bytes[32 + 16], 30);    // the first field's width
    EXPECT_EQ(bytes[32 + 10], '\0');  // the name's terminator is in place
    EXPECT_EQ(bytes[32 + 11], 'C');   // and the type after it
    EXPECT_EQ(bytes[10], 51);         // record length 1 + 30 + 20
    sheet.ShtFre();
    ReadDBaseData(ws, bytes);
    EXPECT_EQ(NameOf(1), "оченьдлинн");
    EXPECT_EQ(Column(1), Col{std::string(30, 'z')});
    EXPECT_EQ(Column(2), Col{"7"});  // not shifted
}

// A variable named only by blanks (a dBase file can give one) is saved under
// its column's default name: a blank descriptor would make the table unreadable.
TEST_F(DataFilesTest, DBaseTableOfABlankNameReadsBack) {
    Name(1, "         ");
    Name(2, "b");
    Fill({{"1", "2"}});
    const std::string bytes = WriteDBaseData(ws);
    sheet.ShtFre();
    ReadDBaseData(ws, bytes);
    EXPECT_TRUE(ui.notices().empty()) << ui.notices().front();
    EXPECT_EQ(NameOf(1), "x1");
    EXPECT_EQ(Column(1), Col{"1"});
    EXPECT_EQ(Column(2), Col{"2"});
}

TEST_F(DataFilesTest, DBaseReaderCases) {
    // One field; a ten-character name ending at byte 10.
    ReadDBaseData(ws, Table({{"ABCDEFGHIJ", 3}}, {"   1", "  22"}));
    EXPECT_EQ(NameOf(1), "ABCDEFGHIJ");
    EXPECT_EQ(Column(1), (Col{"1", "22"}));

    // Deleted records are skipped; appended after the sheet's variable.
    ReadDBaseData(ws, Table({{"A", 2}, {"B", 2}}, {"  1 2", "* 3 4", "  5 6"}));
    EXPECT_EQ(Column(2), (Col{"1", "5"}));
    EXPECT_EQ(Column(3), (Col{"2", "6"}));
    EXPECT_TRUE(ui.notices().empty());

    // Fewer records than announced: what was there stays.
    ReadDBaseData(ws, Table({{"C", 2}}, {" 10"}, 3));
    EXPECT_EQ(Column(4), Col{"10"});
    EXPECT_EQ(ui.notices(), std::vector<std::string>{FileIncompleteText});
}

TEST_F(DataFilesTest, DBaseTableWiderThanTheSheetKeepsTheFieldsThatFit) {
    for (int c = 1; c <= 499; ++c)
        PutSheetText(ws, "0", c, 0);
    ReadDBaseData(ws, Table({{"A", 2}, {"B", 2}}, {"  1 2", "  3 4"}));
    EXPECT_EQ(ui.notices(), std::vector<std::string>{TooManyVariablesText(499)});
    EXPECT_EQ(ws.sheet.VariableCount(), 500);
    EXPECT_EQ(NameOf(500), "A");
    EXPECT_EQ(Column(500), (Col{"1", "3"}));
}

TEST_F(DataFilesTest, DBaseNumericFieldGetsItsImpliedPointOnlyWhenItHasNone) {
    std::string table = Table({{"N", 6}}, {"   1234", "  12.50", "     -5"});
    table[32 + 11] = 'N';
    table[32 + 17] = 2;  // decimal count
    ReadDBaseData(ws, table);
    EXPECT_EQ(Column(1), (Col{"12.34", "12.50", "-0.05"}));
}

// Files that are not what their name says are refused before the clear
// question, so the sheet keeps what it had.
TEST_F(DataFilesTest, FilesThatAreNotTheirFormatAreRefusedWithoutTouchingTheSheet) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string notice;
    };
    std::string garbage;
    for (int i = 0; i < 300; ++i)
        garbage += static_cast<char>((i * 73 + 11) % 256);
    std::string badName = Table({{"A", 2}}, {" 1"});
    badName[32] = '\x01';  // a control character in the field name
    std::string noTerminator = Table({{"A", 2}}, {" 1"});
    noTerminator[64] = 'x';
    const std::vector<Case> cases{
        {"garbage.dbf", garbage, NotADBaseFileText},
        {"words.dbf", "Это не таблица, а просто текст\r\n", NotADBaseFileText},
        {"badname.dbf", badName, NotADBaseFileText},
        {"noend.dbf", noTerminator, NotADBaseFileText},
        {"picture.txt", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), NotATextFileText},
        {"garbage.dvx",
         "\x05hello\x03"
         "abc",
         "!ОШИБКА В ФАЙЛЕ: \"abc\" НЕ ЦЕЛОЕ ЧИСЛО!"},
    };
    Name(1, "рост");
    Fill({{"170"}});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PutBytes(Path(c.name), c.bytes);
        ui.ClearLog();
        ui.ExpectFile(0, Path(c.name));  // no clear question follows
        EXPECT_FALSE(files.Open());
        EXPECT_TRUE(ui.scriptDone());
        EXPECT_EQ(ui.notices(), std::vector<std::string>{c.notice});
        EXPECT_EQ(ws.sheet.VariableCount(), 1);
        EXPECT_EQ(NameOf(1), "рост");
        EXPECT_EQ(Column(1), Col{"170"});
        EXPECT_EQ(files.Caption(), SheetCaption);
    }
}

// ---------------------------------------------------------------------------
// Files written by R (tests/data/r_written, made by make.R there): its three
// write.table styles, a foreign::write.dbf table with nulls, and CSV files of
// write.csv, write.csv2 and write.table with commas.

struct WrittenByR {
    const char* file;
    std::vector<std::string> names;
    std::vector<std::vector<std::string>> columns;
    std::vector<std::string> labels;  // empty: the row numbers stay
};

void PrintTo(const WrittenByR& c, std::ostream* out) {
    *out << c.file;
}

class WrittenByRTest : public DataFilesTest, public ::testing::WithParamInterface<WrittenByR> {};

TEST_P(WrittenByRTest, ReadsNamesLabelsAndCellsWithMissingValuesEmpty) {
    const WrittenByR& c = GetParam();
    ASSERT_TRUE(files.Read(std::string(DALVEX_TEST_DATA) + "/r_written/" + c.file, true));
    EXPECT_TRUE(ui.notices().empty()) << ui.notices().front();
    ASSERT_EQ(ws.sheet.VariableCount(), static_cast<int>(c.names.size()));
    for (std::size_t i = 0; i < c.names.size(); ++i) {
        const int col = static_cast<int>(i) + 1;
        EXPECT_EQ(NameOf(col), c.names[i]);
        EXPECT_EQ(Column(col), c.columns[i]) << c.names[i];
    }
    for (std::size_t r = 0; r < 4; ++r)
        EXPECT_EQ(Label(static_cast<int>(r) + 1),
                  c.labels.empty() ? std::to_string(r + 1) : c.labels[r]);
    // Missing cells are no values for the methods.
    EXPECT_EQ(SheetValue(ws, 1, 2), MissingValue);
}

const std::vector<std::string> Heights{"170.5", "165", "", "180"};
const std::vector<std::string> Weights{"70", "", "55.5", "90"};

INSTANTIATE_TEST_SUITE_P(
    Styles, WrittenByRTest,
    ::testing::Values(
        // write.table(df): quoted texts, a names line one field short, row names.
        WrittenByR{"quoted.txt",
                   {"рост", "вес кг", "город"},
                   {Heights, Weights, {"Москва", "Нижний Новгород", "", "Тверь"}},
                   {"Иванов", "Петров", "Сидоров", "Орлов"}},
        // quote = FALSE, row.names = FALSE, in Windows Cyrillic.
        WrittenByR{"plain.txt",
                   {"рост", "вес", "город"},
                   {Heights, Weights, {"Москва", "Нижний_Новгород", "", "Тверь"}},
                   {}},
        // sep = "\t": blanks stay inside the fields.
        WrittenByR{"tabbed.tab",
                   {"рост", "вес кг", "город"},
                   {Heights, Weights, {"Москва", "Нижний Новгород", "", "Тверь"}},
                   {}},
        // Numeric nulls as '*', a logical NA as '?', a text NA as zero bytes.
        WrittenByR{"nulls.dbf",
                   {"HEIGHT", "COUNT", "CITY", "OK"},
                   {{"170.5000000000000", "165.0000000000000", "", "180.0000000000000"},
                    {"3", "", "5", "1"},
                    {"Moskva", "", "Tver", "Omsk"},
                    {"T", "", "F", "T"}},
                   {}},
        // write.csv(df): row names under an empty name, NA, UTF-8.
        WrittenByR{"written.csv",
                   {"рост", "вес кг", "город"},
                   {Heights, Weights, {"Москва", "Нижний Новгород", "", "Тверь"}},
                   {"Иванов", "Петров", "Сидоров", "Орлов"}},
        // write.csv2: semicolons, decimal commas, Windows Cyrillic.
        WrittenByR{"written2.csv",
                   {"рост", "вес кг", "город"},
                   {{"170,5", "165", "", "180"},
                    {"70", "", "55,5", "90"},
                    {"Москва", "Нижний Новгород", "", "Тверь"}},
                   {}},
        // write.table(df, sep = ","): the names line one field short.
        WrittenByR{"table.csv",
                   {"рост", "вес кг", "город"},
                   {Heights, Weights, {"Москва", "Нижний Новгород", "", "Тверь"}},
                   {"Иванов", "Петров", "Сидоров", "Орлов"}}),
    [](const auto& info) {
        std::string name = info.param.file;
        return name.substr(0, name.find('.'));
    });

// write.csv with na = "" after a byte order mark: a separator, doubled
// quotes and a line break inside quoted fields.
TEST_F(DataFilesTest, CsvQuotedFieldsFromRKeepSeparatorsQuotesAndLineBreaks) {
    ASSERT_TRUE(files.Read(std::string(DALVEX_TEST_DATA) + "/r_written/tricky.csv", true));
    EXPECT_TRUE(ui.notices().empty()) << ui.notices().front();
    ASSERT_EQ(ws.sheet.VariableCount(), 2);
    EXPECT_EQ(NameOf(1), "текст");
    EXPECT_EQ(NameOf(2), "x");
    EXPECT_EQ(Column(1), (Col{"a,b", "сказал \"да\"", "две строки"}));
    EXPECT_EQ(Column(2), (Col{"1", "2.5", "", "-3e-05"}));
    EXPECT_EQ(Label(1), "1");
}

// ---------------------------------------------------------------------------
// Open and Save.

// After F5 the sheet names no file: not in its caption, not in the "Файл: "
// of the next report.
TEST_F(DataFilesTest, ClearForgetsTheFileAndItsTitle) {
    Name(1, "a");
    Fill({{"1"}});
    ASSERT_TRUE(files.Write(Path("old.dvx"), "Старый"));
    ASSERT_EQ(files.Caption(), "Данные: old.dvx - Старый");
    files.Clear();
    EXPECT_EQ(ws.sheet.VariableCount(), 0);
    EXPECT_EQ(files.Caption(), SheetCaption);
    EXPECT_EQ(files.fileName(), "");
    EXPECT_EQ(files.DataTitle(), "");
}

TEST_F(DataFilesTest, OpenAsksToClearAndRemembersTheChosenType) {
    Name(1, "a");
    Fill({{"1"}, {"2"}});
    ASSERT_TRUE(files.Write(Path("one.dvx"), "Первый"));
    PutBytes(Path("two.txt"), "b\r\n5\r\n");

    ui.ExpectFile(0, Path("two.txt"), "", 1).ExpectYesNo(ClearSheetQuestion, false);
    ASSERT_TRUE(files.Open());
    EXPECT_EQ(ws.sheet.VariableCount(), 2);
    EXPECT_EQ(Column(2), Col{"5"});
    EXPECT_EQ(files.Caption(), "Данные: two.txt - Первый");  // appended: the title stays
    EXPECT_EQ(ws.LastAnswer, 2);

    ui.ExpectFile(0, Path("one.dvx"), "", 0).ExpectYesNo(ClearSheetQuestion, true);
    ASSERT_TRUE(files.Open());
    EXPECT_EQ(ws.sheet.VariableCount(), 1);
    EXPECT_EQ(files.Caption(), "Данные: one.dvx - Первый");
    ASSERT_EQ(ui.fileRequests().size(), 2u);
    EXPECT_EQ(ui.fileRequests()[0].filter, OpenDataFilter);
    EXPECT_EQ(ui.fileRequests()[1].filterIndex, 1);  // the type chosen the time before

    // The script is kept in order: a question cannot answer the dialog.
    ui.ExpectYesNo(ClearSheetQuestion, true);
    EXPECT_THROW(files.Open(), ScriptMismatch);
}

TEST_F(DataFilesTest, OpenOfAFileThatCannotBeReadLeavesTheSheetAlone) {
    Fill({{"1"}});
    ui.ExpectFile(0, Path("missing.dvx"));
    EXPECT_FALSE(files.Open());
    ASSERT_EQ(ui.notices().size(), 1u);
    EXPECT_EQ(ui.notices()[0].rfind("Не удалось открыть файл " + Path("missing.dvx"), 0), 0u);
    EXPECT_TRUE(ui.questions().empty());
    EXPECT_EQ(Column(1), Col{"1"});

    ui.ExpectFile(0, "");
    EXPECT_FALSE(files.Open());
    EXPECT_EQ(ws.LastAnswer, 0);
}

TEST_F(DataFilesTest, FormatByExtensionInAnyLetterCase) {
    Fill({{"1", "2"}});
    ASSERT_TRUE(files.Write(Path("DATA.DBF"), ""));
    ASSERT_TRUE(files.Write(Path("DATA.TAB"), ""));
    ASSERT_TRUE(files.Write(Path("DATA.DVX"), "T"));
    EXPECT_EQ(Bytes(dir / "DATA.DBF")[0], '\x03');
    EXPECT_EQ(Bytes(dir / "DATA.TAB"), "x1\tx2\r\n1\t2\r\n");
    EXPECT_EQ(Bytes(dir / "DATA.DVX").substr(0, 2), "\x01T");
    sheet.ShtFre();
    ASSERT_TRUE(files.Read(Path("DATA.DBF"), true));
    EXPECT_EQ(Column(2), Col{"2"});
}

TEST_F(DataFilesTest, SaveAsksBeforeOverwritingAndTakesTheTitleForNativeFilesOnly) {
    Fill({{"1"}});
    PutBytes(Path("old.dvx"), "old");
    ui.ExpectFile(1, Path("old.dvx"), "Новый заголовок").ExpectYesNo(OverwriteQuestion, false);
    EXPECT_FALSE(files.Save());
    EXPECT_EQ(Bytes(dir / "old.dvx"), "old");
    EXPECT_EQ(files.Caption(), SheetCaption);  // nothing written, nothing named

    ui.ExpectFile(1, Path("old.dvx"), "Новый заголовок").ExpectYesNo(OverwriteQuestion, true);
    EXPECT_TRUE(files.Save());
    EXPECT_EQ(NativeTitle(Bytes(dir / "old.dvx")), "Новый заголовок");
    EXPECT_EQ(files.Caption(), "Данные: old.dvx - Новый заголовок");

    ui.ExpectFile(1, Path("new.txt"), "чужой заголовок", 1);
    EXPECT_TRUE(files.Save());
    EXPECT_EQ(files.DataTitle(), "Новый заголовок");
    EXPECT_EQ(files.writeChoice(), 1);
    const FileRequest& last = ui.fileRequests().back();
    EXPECT_EQ(last.defaultName, "old.dvx");
    EXPECT_EQ(last.comment, "Новый заголовок");
    EXPECT_EQ(last.filter, SaveDataFilter);
    EXPECT_TRUE(ui.scriptDone());
}

TEST_F(DataFilesTest, EmptySheetMakesAnEmptyNewFileButNeverEmptiesAnExistingOne) {
    ui.ExpectFile(1, Path("empty.dvx"));
    EXPECT_TRUE(files.Save());
    EXPECT_TRUE(fs::exists(dir / "empty.dvx"));
    EXPECT_EQ(fs::file_size(dir / "empty.dvx"), 0u);
    ASSERT_TRUE(files.Read(Path("empty.dvx"), true));
    EXPECT_TRUE(ui.notices().empty());

    PutBytes(Path("kept.txt"), "a\r\n1\r\n");
    ui.ExpectFile(1, Path("kept.txt"));
    EXPECT_FALSE(files.Save());
    EXPECT_EQ(ui.notices(), std::vector<std::string>{EmptySheetNotice});
    EXPECT_EQ(Bytes(dir / "kept.txt"), "a\r\n1\r\n");
}

TEST_F(DataFilesTest, DataOutsideTheFirstVariableIsSaved) {
    for (const char* name : {"gap.dvx", "gap.txt", "gap.dbf"}) {
        sheet.ShtFre();
        PutSheetText(ws, "5", 3, 1);
        ASSERT_EQ(ws.sheet.ColumnLength(1), 0);
        ASSERT_TRUE(files.Write(Path(name), ""));
        sheet.ShtFre();
        ASSERT_TRUE(files.Read(Path(name), true));
        EXPECT_EQ(ws.sheet.VariableCount(), 3) << name;
        EXPECT_EQ(Column(3), (Col{"", "5"})) << name;
    }
}

TEST_F(DataFilesTest, FailedWriteKeepsTheOldFileAndLeavesNoTemporaryFile) {
    Fill({{"1"}});
    fs::create_directory(dir / "taken.dvx");  // a folder where the file should go
    PutBytes(dir / "taken.dvx" / "inside", "x");
    ui.ExpectFile(1, Path("taken.dvx")).ExpectYesNo(OverwriteQuestion, true);
    EXPECT_FALSE(files.Save());
    ASSERT_EQ(ui.notices().size(), 1u);
    EXPECT_EQ(ui.notices()[0].rfind("Не удалось записать файл " + Path("taken.dvx"), 0), 0u);
    EXPECT_EQ(Bytes(dir / "taken.dvx" / "inside"), "x");
    for (const auto& entry : fs::directory_iterator(dir))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos);

    EXPECT_FALSE(files.Write(Path("no-such-folder/x.dvx"), ""));
    EXPECT_EQ(WriteFailureText(ENOSPC, "x"), "!НЕТ МЕСТА НА ДИСКЕ!");
}

TEST_F(DataFilesTest, ReplacingKeepsPermissionsAndWritesThroughALink) {
    PutBytes(Path("target.txt"), "old");
    fs::permissions(dir / "target.txt",
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("target.txt", dir / "link.txt");
    ASSERT_TRUE(ReplaceFile(Path("link.txt"), "new").ok);
    EXPECT_TRUE(fs::is_symlink(dir / "link.txt"));
    EXPECT_EQ(Bytes(dir / "target.txt"), "new");
    EXPECT_EQ(fs::status(dir / "target.txt").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// ---------------------------------------------------------------------------
// Inputs the fuzzers found, in their framing: the first byte says how many
// variables (modulo 5) the sheet holds before the read, the rest is the file.
// Every reader takes every one of them, and the sheet's bookkeeping stays
// within its limits.

TEST_F(DataFilesTest, FuzzFindingsReadSafelyThroughEveryReader) {
    const fs::path folder = fs::path(DALVEX_TEST_DATA) / "fuzz";
    ASSERT_TRUE(fs::is_directory(folder));
    int inputs = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        const std::string input = Bytes(entry.path());
        if (input.empty())
            continue;
        for (DataFormat format :
             {DataFormat::Native, DataFormat::Text, DataFormat::DBase, DataFormat::Csv}) {
            sheet.ShtFre();
            for (int c = 1; c <= static_cast<unsigned char>(input[0]) % 5; ++c)
                for (int obs = 0; obs < c; ++obs)
                    PutSheetText(ws, std::to_string(obs), c, obs);
            ReadInto(format, std::string_view(input).substr(1));
            const SheetGrid& g = ws.sheet;
            ASSERT_LE(g.FilledCells(), CellCapacity) << entry.path();
            ASSERT_LE(g.VariableCount(), SheetColumns) << entry.path();
            for (int c = 1; c <= SheetColumns; ++c) {
                ASSERT_LE(g.ColumnLength(c), SheetRows) << entry.path();
                if (c > g.VariableCount()) {
                    ASSERT_EQ(g.ColumnLength(c), 0) << entry.path();
                }
                for (int r = 0; r <= g.ColumnLength(c); ++r) {
                    const std::string& text = g.Cell(c, r);
                    ASSERT_EQ(SanitizeUtf8(text), text) << entry.path();
                    ASSERT_TRUE(std::none_of(text.begin(), text.end(),
                                             [](unsigned char ch) { return ch < 0x20; }))
                        << entry.path() << " column " << c << " row " << r;
                }
            }
        }
        ++inputs;
    }
    EXPECT_GT(inputs, 0);
}

}  // namespace
}  // namespace dalvex
