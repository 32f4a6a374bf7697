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

TEST(BatchImagesTest, TheProgramPaintsPngFilesWithoutADisplay) {
#if !DALVEX_BATCH_IMAGES
    GTEST_SKIP() << "dalvex-batch was built without Qt's painting";
#endif
    const TempFolder temp("batch-images");
    const fs::path folder = temp / "graphs";
    const fs::path script = temp / "script.txt";
    std::ofstream(script) << "open " << Data << "skewed.txt\n"
                          << "images " << folder.string() << "\nmethod 2\nform 1\nno\ngraph keep\n"
                          << "images " << folder.string()
                          << " bmp\nmethod 2\nform 1\nno\ngraph keep\n";
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY " +
                                std::string(DALVEX_BATCH_PROGRAM) + " " + script.string() +
                                " > /dev/null 2>&1";
    const int raw = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), BatchDone);
    std::ifstream png(folder / "graph1.png", std::ios::binary);
    std::string signature(8, '\0');
    png.read(signature.data(), 8);
    EXPECT_EQ(signature, "\x89PNG\r\n\x1a\n");
    std::ifstream bmp(folder / "graph2.bmp", std::ios::binary);
    std::string magic(2, '\0');
    bmp.read(magic.data(), 2);
    EXPECT_EQ(magic, "BM");
    EXPECT_GT(fs::file_size(folder / "graph1.png"), 2000u);  // a drawing, not an empty image
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

// SVG and PDF are drawings: the texts stay texts (in SVG <text> elements, in
// PDF with their fonts), nothing is a picture of pixels.
TEST(BatchImagesTest, DrawingsKeepTheirTextsAsText) {
#if !DALVEX_BATCH_IMAGES
    GTEST_SKIP() << "dalvex-batch was built without Qt's painting";
#endif
    const TempFolder temp("batch-images");
    const fs::path folder = temp / "drawings";
    const fs::path script = temp / "script.txt";
    std::ofstream(script) << "open " << Data << "skewed.txt\n"
                          << "images " << folder.string()
                          << " svg\nmethod 2\nform 1\nno\ngraph keep\n"
                          << "images " << folder.string()
                          << " pdf\nmethod 2\nform 1\nno\ngraph keep\n";
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY " +
                                std::string(DALVEX_BATCH_PROGRAM) + " " + script.string() +
                                " > /dev/null 2>&1";
    const int raw = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), BatchDone);
    std::stringstream svg, pdf;
    svg << std::ifstream(folder / "graph1.svg", std::ios::binary).rdbuf();
    pdf << std::ifstream(folder / "graph2.pdf", std::ios::binary).rdbuf();
    EXPECT_NE(svg.str().find("<svg"), std::string::npos);
    EXPECT_NE(svg.str().find("viewBox=\"0 0 800 600\""), std::string::npos);
    EXPECT_NE(svg.str().find("<title>Гистограмма: x</title>"), std::string::npos);
    EXPECT_NE(svg.str().find(">*E1</text>"), std::string::npos);  // the axis' scale mark
    EXPECT_EQ(svg.str().find("<image"), std::string::npos);
    EXPECT_EQ(pdf.str().rfind("%PDF-", 0), 0u);
    EXPECT_NE(pdf.str().find("/FontFile"), std::string::npos);
    EXPECT_EQ(pdf.str().find("/Subtype /Image"), std::string::npos);
}

}  // namespace
}  // namespace dalvex
