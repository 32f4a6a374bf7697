// Graphs a script's commands draw are saved as image files, in the order drawn.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "batch/batch_runner.h"
#include "stats/statistics_methods.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

namespace fs = std::filesystem;

const std::string Data = std::string(DALVEX_BATCH_DATA) + "/";

// 40 values with enough spread for a histogram of its proposed classes.
const char* kHistogramScript =
    "open skewed.txt\n"
    "images {FOLDER}\n"
    "method 2\n"
    "form 1\n"
    "no\n"
    "graph keep\n"
    "images off\n"
    "method 2\n"
    "form 1\n"
    "no\n"
    "graph discard\n";

std::string Script(const fs::path& folder) {
    std::string text = kHistogramScript;
    text.replace(text.find("{FOLDER}"), 8, folder.string());
    return text;
}

TEST(BatchImagesTest, EachGraphGoesToTheNextFileOnlyWhileImagesAreOn) {
    const TempFolder temp("batch-images");
    const fs::path folder = temp / "graphs";
    std::vector<std::string> written;
    const GraphImageWriter writer = [&](TGra&, const Workspace&, const std::string& path) {
        written.push_back(path);
        return std::string();
    };
    std::ostringstream results, messages;
    const int status =
        RunBatchScript(Script(folder), Data, BuiltStatisticsMethods(), results, messages, writer);
    ASSERT_EQ(status, BatchDone) << messages.str();
    EXPECT_EQ(written, (std::vector<std::string>{(folder / "graph1.png").string()}));

    // Without a painter the command is refused as a file error, naming the line.
    std::ostringstream noResults, noMessages;
    EXPECT_EQ(RunBatchScript(Script(folder), Data, BuiltStatisticsMethods(), noResults, noMessages),
              BatchFileError);
    EXPECT_NE(noMessages.str().find("строка 2"), std::string::npos) << noMessages.str();
}

// What each picture format must hold. SVG and PDF are drawings: the texts
// stay texts (in SVG <text> elements, in PDF with their fonts), nothing is a
// picture of pixels.
struct PaintedFile {
    const char* format;  // the images command's format word, "" for PNG
    const char* file;
    std::string start;               // the file's first bytes
    std::vector<std::string> holds;  // texts somewhere in the file
    std::string lacks;               // a text nowhere in it ("" for none)
    std::size_t largerThan = 0;      // a drawing, not an empty image
};

TEST(BatchImagesTest, TheProgramPaintsEveryFormatWithoutADisplay) {
#if !DALVEX_BATCH_IMAGES
    GTEST_SKIP() << "dalvex-batch was built without Qt's painting";
#endif
    const PaintedFile files[] = {
        {"", "graph1.png", "\x89PNG\r\n\x1a\n", {}, "", 2000},
        {" bmp", "graph2.bmp", "BM", {}, ""},
        {" svg",
         "graph3.svg",
         "",
         {"<svg", "viewBox=\"0 0 800 600\"", "<title>Гистограмма: x</title>",
          ">*E1</text>"},  // the last one the axis' scale mark
         "<image"},
        {" pdf", "graph4.pdf", "%PDF-", {"/FontFile"}, "/Subtype /Image"},
    };
    const TempFolder temp("batch-images");
    const fs::path folder = temp / "graphs";
    const fs::path script = temp / "script.txt";
    {
        std::ofstream out(script);
        out << "open " << Data << "skewed.txt\n";
        for (const PaintedFile& f : files)
            out << "images " << folder.string() << f.format
                << "\nmethod 2\nform 1\nno\ngraph keep\n";
    }
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY " +
                                std::string(DALVEX_BATCH_PROGRAM) + " " + script.string() +
                                " > /dev/null 2>&1";
    const int raw = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), BatchDone);
    for (const PaintedFile& f : files) {
        std::stringstream bytes;
        bytes << std::ifstream(folder / f.file, std::ios::binary).rdbuf();
        const std::string text = bytes.str();
        EXPECT_EQ(text.rfind(f.start, 0), 0u) << f.file;
        for (const std::string& held : f.holds)
            EXPECT_NE(text.find(held), std::string::npos) << f.file << ": " << held;
        if (!f.lacks.empty()) {
            EXPECT_EQ(text.find(f.lacks), std::string::npos) << f.file << ": " << f.lacks;
        }
        EXPECT_GT(text.size(), f.largerThan) << f.file;
    }
}

// The histogram's numbers need no painting: without a picture writer the
// counts still go to the CSV file, the 100 values of the file in all, under
// the series' name.
TEST(BatchImagesTest, NumbersAreWrittenWithoutAPainter) {
    const TempFolder temp("batch-images");
    const fs::path folder = temp / "numbers";
    const std::string script =
        "open skewed.txt\nimages " + folder.string() + " csv\nmethod 2\nform 1\nno\ngraph keep\n";
    std::ostringstream results, messages;
    ASSERT_EQ(RunBatchScript(script, Data, BuiltStatisticsMethods(), results, messages), BatchDone)
        << messages.str();
    std::ifstream csv(folder / "graph1.csv", std::ios::binary);
    std::string line;
    ASSERT_TRUE(std::getline(csv, line));
    EXPECT_EQ(line, "series,point,X,Y\r");
    double counted = 0;
    int classes = 0, curve = 0;
    while (std::getline(csv, line)) {
        ASSERT_EQ(line.back(), '\r') << line;
        if (line.rfind("Частоты,", 0) == 0) {
            ++classes;
            counted += std::stod(line.substr(line.rfind(',') + 1));
        } else if (line.rfind("Нормальная кривая,", 0) == 0) {
            ++curve;
        } else {
            ADD_FAILURE() << line;
        }
    }
    EXPECT_EQ(counted, 100);
    EXPECT_GE(classes, 4);
    EXPECT_EQ(curve, 51);
}

}  // namespace
}  // namespace dalvex
