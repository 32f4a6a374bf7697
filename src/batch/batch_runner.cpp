#include "batch/batch_runner.h"

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "batch/batch_dialogs.h"
#include "core/number.h"
#include "core/text.h"
#include "formula/function_list.h"
#include "graphics/graph_desk.h"
#include "output/results_text.h"
#include "output/text_resource.h"
#include "sheet/data_files.h"
#include "sheet/sheet_editor.h"

namespace dalvex {

namespace {

namespace fs = std::filesystem;

// The dialog memories ("q30.ini" ...) of a run live in a folder of its own,
// so a script's result never depends on an earlier session; "folder" names
// another one.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::error_code ec;
        const fs::path base = fs::temp_directory_path(ec);
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            fs::path candidate = base / ("dalvex-batch-" + std::to_string(::getpid()) + "-" +
                                         std::to_string(attempt));
            if (fs::create_directory(candidate, ec))
                path_ = candidate;
        }
    }
    ~ScratchFolder() {
        std::error_code ec;
        if (!path_.empty())
            fs::remove_all(path_, ec);
    }
    std::string folder() const { return path_.empty() ? "./" : path_.string() + "/"; }

  private:
    fs::path path_;
};

class BatchWindows : public RunWindows {
  public:
    BatchWindows(const SheetFiles& files, TSMForm& form, GraphDesk& desk)
        : files_(files), form_(form), desk_(desk) {}
    std::string DataFileName() const override { return files_.fileName(); }
    void CloseDiscardedGraphs() override {
        for (int number : form_.TakeGraphsToClose())
            desk_.Close(number);
    }

  private:
    const SheetFiles& files_;
    TSMForm& form_;
    GraphDesk& desk_;
};

struct BatchFailure {
    int status;
    std::string message;
};

int WholeNumberOf(const ScriptLine& line, std::size_t word) {
    if (line.words.size() != word + 1)
        throw BatchScriptError(Where(line) + ": нужно одно число");
    const ParsedNumber parsed = ParseNumber(line.words[word]);
    if (!parsed.ok() || parsed.value != static_cast<int>(parsed.value))
        throw BatchScriptError(Where(line) + ": " + line.words[word] + " - не целое число");
    return static_cast<int>(parsed.value);
}

}  // namespace

int RunBatchScript(const std::string& scriptText, const std::string& baseFolder,
                   const MethodRegistry& methods, std::ostream& results, std::ostream& messages,
                   const GraphImageWriter& images) {
    BatchScript script = BatchScript::FromText(scriptText);
    BatchDialogs dialogs(script, messages, baseFolder);
    Workspace ws(dialogs);
    if (!ws.store.Allocate()) {
        messages << "dalvex-batch: No enouth memory\n";
        return BatchFileError;
    }
    ScratchFolder scratch;
    ws.ProgramFolder = scratch.folder();
    WriteFunctionListIfMissing(ws.ProgramFolder);
    ws.resources = &TextResources::Builtin();
    TEditForm resultsText(ws);
    ws.report = &resultsText;
    TSht1 sheet(ws);
    sheet.FormIni();
    SheetFiles files(ws, sheet);
    TSMForm form(ws);
    GraphDesk desk(ws, form);
    ws.graphs = &desk;
    BatchWindows windows(files, form, desk);
    // After "images DIR", every graph a command draws is saved there as
    // graph1.png, graph2.png, … in the order drawn.
    std::string imageFolder;
    std::string imageExtension = ".png";
    int imagesSaved = 0;
    bool imageFailed = false;
    desk.shown = [&](int number, bool) {
        TGra* graph = desk.window(number);
        if (imageFolder.empty() || graph == nullptr)
            return;
        const std::string path =
            imageFolder + "graph" + std::to_string(++imagesSaved) + imageExtension;
        const std::string error = images(*graph, ws, path);
        // The method goes on; the run ends as a file error.
        if (!error.empty()) {
            messages << "dalvex-batch: график не записан в " << path << ": " << error << '\n';
            imageFailed = true;
        }
    };
    MethodDispatcher dispatcher(ws, form, methods, windows);

    int status = BatchDone;
    try {
        while (!script.atEnd()) {
            const ScriptLine& line = script.Take();
            const std::string& command = line.words.front();
            const std::size_t words = line.words.size();
            if (command == "open" && words == 2) {
                sheet.ShtFre();
                const std::string path = dialogs.PathOf(line.words[1]);
                if (!files.Read(path, true))
                    throw BatchFailure{BatchFileError, Where(line) + ": файл данных не прочитан"};
                // As the file dialog does: the data file's folder becomes the
                // data folder, where the methods' lists of significances go.
                ws.settings.DataFolder = fs::absolute(fs::path(path)).parent_path().string() + "/";
            } else if (command == "save" && words == 2) {
                if (!files.Write(dialogs.PathOf(line.words[1]), files.DataTitle()))
                    throw BatchFailure{BatchFileError, Where(line) + ": файл данных не записан"};
            } else if (command == "method") {
                const int method = WholeNumberOf(line, 1);
                if (!dispatcher.available(method))
                    throw BatchScriptError(Where(line) + ": метода " + std::to_string(method) +
                                           " в программе нет");
                dispatcher.FormIni(method);
            } else if (command == "digits") {
                ws.settings.SignificantDigits = WholeNumberOf(line, 1);
            } else if (command == "level" && words == 2 && ParseNumber(line.words[1]).ok()) {
                ws.settings.SignificanceLevel = ParseNumber(line.words[1]).value;
            } else if (command == "folder" && words == 2) {
                const std::string folder = dialogs.PathOf(line.words[1]);
                std::error_code ec;
                fs::create_directories(folder, ec);
                ws.ProgramFolder = folder.back() == '/' ? folder : folder + "/";
                WriteFunctionListIfMissing(ws.ProgramFolder);
            } else if (command == "images" && (words == 2 || words == 3)) {
                if (!images)
                    throw BatchFailure{BatchFileError,
                                       Where(line) + ": запись графиков в файлы недоступна"};
                if (line.words[1] == "off") {
                    imageFolder.clear();
                } else {
                    const std::string folder = dialogs.PathOf(line.words[1]);
                    std::error_code ec;
                    fs::create_directories(folder, ec);
                    imageFolder = folder.back() == '/' ? folder : folder + "/";
                    imageExtension = ".png";
                    if (words == 3 && line.words[2] == "bmp")
                        imageExtension = ".bmp";
                    else if (words == 3 && line.words[2] != "png")
                        throw BatchScriptError(Where(line) + ": неверная запись команды");
                }
            } else if (IsCommandWord(command)) {
                throw BatchScriptError(Where(line) + ": неверная запись команды");
            } else {
                throw BatchScriptError(Where(line) + ": ответ, которого не ждёт ни один диалог");
            }
        }
    } catch (const ScriptMismatch& mismatch) {
        messages << "dalvex-batch: " << mismatch.what() << '\n';
        status = BatchScriptFault;
    } catch (const BatchFailure& failure) {
        messages << "dalvex-batch: " << failure.message << '\n';
        status = failure.status;
    }
    if (status == BatchDone && imageFailed)
        status = BatchFileError;
    // What the run wrote before it stopped stays, as in the window.
    for (const std::string& text : resultsText.lines())
        results << text << '\n';
    results.flush();
    ws.report = nullptr;
    ws.graphs = nullptr;
    return status;
}

int RunBatchFile(const std::string& path, const MethodRegistry& methods, std::ostream& results,
                 std::ostream& messages, const GraphImageWriter& images) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        messages << "dalvex-batch: сценарий " << path << " не прочитан\n";
        return BatchFileError;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::string base = fs::path(path).parent_path().string();
    base = base.empty() ? "./" : base + "/";
    return RunBatchScript(DecodeTextFile(bytes.str()), base, methods, results, messages, images);
}

}  // namespace dalvex
