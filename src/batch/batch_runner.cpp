#include "batch/batch_runner.h"

#include <unistd.h>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "batch/batch_answers.h"
#include "core/number.h"
#include "core/settings.h"
#include "core/sheet_bridge.h"
#include "core/system_error.h"
#include "core/text.h"
#include "dispatch/graph_menu.h"
#include "dispatch/sheet_graph.h"
#include "formula/formula.h"
#include "graphics/function_surface.h"
#include "session/session.h"

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
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::string folder() const { return path_.empty() ? "./" : path_.string() + "/"; }

  private:
    fs::path path_;
};

struct BatchFailure {
    int status;
    std::string message;
};

std::string Quoted(const std::string& text) {
    return ScriptedDialogs::Quoted(text);
}

class BatchRun;

// A command of the script: its word, how it is written, how many words it
// takes (the word included) and what it does.
struct BatchCommand {
    const char* word;
    const char* usage;
    std::size_t minWords;
    std::size_t maxWords;
    void (BatchRun::*run)(const ScriptLine& line);
};

class BatchRun {
  public:
    BatchRun(const std::string& scriptText, const std::string& baseFolder,
             const MethodRegistry& methods, std::ostream& messages, const GraphImageWriter& images);

    bool started() const { return started_; }
    // Runs the commands; the status of the run.
    int Run();
    const std::vector<std::string>& results() { return session_.results().lines(); }

    void Open(const ScriptLine& line);
    void Save(const ScriptLine& line);
    void Method(const ScriptLine& line);
    void Digits(const ScriptLine& line);
    void Level(const ScriptLine& line);
    void Exact(const ScriptLine& line);
    void Folder(const ScriptLine& line);
    void Seed(const ScriptLine& line);
    void SurfaceDialog(const ScriptLine& line);
    void Images(const ScriptLine& line);
    void Graph(const ScriptLine& line);
    void Graphs(const ScriptLine& line);
    void Transform(const ScriptLine& line);
    void Select(const ScriptLine& line);

  private:
    void Surface(const ScriptLine& line);
    int ColumnOf(const ScriptLine& line, const std::string& word);

    void GraphShown(int number);

    BatchScript script_;
    BatchAnswers answers_;
    Workspace ws_;
    Session session_;
    ScratchFolder scratch_;
    std::ostream& messages_;
    const GraphImageWriter& images_;
    bool started_ = false;
    // After "images DIR", every graph a command draws is saved there as
    // graph1.png, graph2.png, … in the order drawn.
    std::string imageFolder_;
    std::string imageExtension_ = ".png";
    int imagesSaved_ = 0;
    bool imageFailed_ = false;
    // "images DIR png mono": graphs saved in their monochrome form.
    bool imageMonochrome_ = false;
};

const BatchCommand Commands[] = {
    {"open", "open <файл>", 2, 2, &BatchRun::Open},
    {"save", "save <файл> [utf8|cp1251]", 2, 3, &BatchRun::Save},
    {"method", "method <номер>", 2, 2, &BatchRun::Method},
    {"digits", "digits <число от 3 до 9>", 2, 2, &BatchRun::Digits},
    {"level", "level <число больше 0 и меньше 0,2>", 2, 2, &BatchRun::Level},
    {"exact", "exact on|off", 2, 2, &BatchRun::Exact},
    {"folder", "folder <папка>", 2, 2, &BatchRun::Folder},
    {"seed", "seed <целое число от 0 до 4294967295>", 2, 2, &BatchRun::Seed},
    {"surface", "surface", 1, 1, &BatchRun::SurfaceDialog},
    {"images", "images <папка> [png|bmp] [mono] или images off", 2, 4, &BatchRun::Images},
    {"draw",
     "draw <вид 1..18> <переменная> ... [smoothing=0..3] [steps=N] [coef=K] [bars=0|1] [3d=0|1] "
     "или draw 11 <формула> <Xmin> <Xmax> <Ymin> <Ymax> <nX>",
     3, MaxVariables + 7, &BatchRun::Graph},
    {"graphs", "graphs", 1, 1, &BatchRun::Graphs},
    {"transform", "transform", 1, 1, &BatchRun::Transform},
    {"select", "select <переменная> или select <переменная> <строка> <переменная> <строка>", 2, 5,
     &BatchRun::Select},
};

const BatchCommand* CommandOf(const std::string& word) {
    for (const BatchCommand& command : Commands)
        if (word == command.word)
            return &command;
    return nullptr;
}

bool IsCommand(const std::string& word) {
    return CommandOf(word) != nullptr;
}

[[noreturn]] void Refuse(const ScriptLine& line, const std::string& why) {
    throw BatchScriptError(Where(line) + ": " + why);
}

std::optional<int> WholeNumber(const std::string& word) {
    const ParsedNumber parsed = ParseNumber(word);
    if (!parsed.ok() || parsed.value != static_cast<int>(parsed.value))
        return std::nullopt;
    return static_cast<int>(parsed.value);
}

BatchRun::BatchRun(const std::string& scriptText, const std::string& baseFolder,
                   const MethodRegistry& methods, std::ostream& messages,
                   const GraphImageWriter& images)
    : script_(BatchScript::FromText(scriptText)),
      answers_(script_, messages, baseFolder, &IsCommand),
      ws_(answers_),
      session_(ws_, methods),
      messages_(messages),
      images_(images) {
    started_ = session_.StartWithoutSettings(scratch_.folder());
    session_.graphs().shown = [this](int number, bool) { GraphShown(number); };
}

void BatchRun::GraphShown(int number) {
    TGra* graph = session_.graphs().window(number);
    if (imageFolder_.empty() || graph == nullptr)
        return;
    const std::string path =
        imageFolder_ + "graph" + std::to_string(++imagesSaved_) + imageExtension_;
    if (imageMonochrome_ && graph->settings().colourMode == ColourMode::Colour)
        graph->SetgCl();
    const std::string error = images_(*graph, ws_, path);
    // The method goes on; the run ends as a file error.
    if (!error.empty()) {
        messages_ << "dalvex-batch: график не записан в " << path << ": " << error << '\n';
        imageFailed_ = true;
    }
}

int BatchRun::Run() {
    int status = BatchDone;
    try {
        while (!script_.atEnd()) {
            const ScriptLine& line = script_.Take();
            const std::string& word = line.words.front();
            const BatchCommand* command = CommandOf(word);
            if (command == nullptr)
                Refuse(line, IsAnswerWord(word) ? "ответ, которого не ждёт ни один диалог"
                                                : "неизвестная команда " + Quoted(word));
            if (line.words.size() < command->minWords || line.words.size() > command->maxWords)
                Refuse(line, std::string("команда записывается так: ") + command->usage);
            (this->*command->run)(line);
        }
    } catch (const ScriptMismatch& mismatch) {
        messages_ << "dalvex-batch: " << mismatch.what() << '\n';
        status = BatchScriptFault;
    } catch (const BatchFailure& failure) {
        messages_ << "dalvex-batch: " << failure.message << '\n';
        status = failure.status;
    }
    if (status == BatchDone && imageFailed_)
        status = BatchFileError;
    return status;
}

void BatchRun::Open(const ScriptLine& line) {
    session_.sheet().ShtFre();
    const std::string path = answers_.PathOf(line.words[1]);
    if (!session_.files().Read(path, true))
        throw BatchFailure{BatchFileError, Where(line) + ": файл данных не прочитан"};
    // As the file dialog does: the data file's folder becomes the data
    // folder, where the methods' lists of significances go.
    ws_.settings.DataFolder = fs::absolute(fs::path(path)).parent_path().string() + "/";
}

void BatchRun::Save(const ScriptLine& line) {
    SheetFiles& files = session_.files();
    const std::string path = answers_.PathOf(line.words[1]);
    TextEncoding encoding = DefaultEncoding(WriteFormatOf(path));
    if (line.words.size() == 3) {
        if (line.words[2] == "utf8")
            encoding = TextEncoding::Utf8;
        else if (line.words[2] == "cp1251")
            encoding = TextEncoding::Cp1251;
        else
            Refuse(line, "кодировка текстового файла - utf8 или cp1251");
    }
    if (!files.Write(path, files.DataTitle(), encoding))
        throw BatchFailure{BatchFileError, Where(line) + ": файл данных не записан"};
}

void BatchRun::Method(const ScriptLine& line) {
    const auto method = WholeNumber(line.words[1]);
    if (!method)
        Refuse(line, Quoted(line.words[1]) + " — не номер метода");
    if (!session_.RunMethod(*method))
        Refuse(line, "метода " + std::to_string(*method) + " в программе нет");
}

// The transformations menu, answered by the lines that follow.
void BatchRun::Transform(const ScriptLine&) {
    session_.RunTransformations();
}

// The sheet's selection, as a click (one variable: the whole of it) or a
// drag from one cell to another.
void BatchRun::Select(const ScriptLine& line) {
    if (line.words.size() != 2 && line.words.size() != 5)
        Refuse(line,
               "команда записывается так: select <переменная> или select <переменная> "
               "<строка> <переменная> <строка>");
    auto column = [&](const std::string& word) {
        if (const auto number = WholeNumber(word);
            number && *number >= 1 && *number <= ws_.sheet.VariableCount() + 1)
            return *number;
        for (int k = 0; k < ws_.sheet.VariableCount(); ++k)
            if (VariableName(ws_, k) == word)
                return k + 1;
        Refuse(line, "нет такой переменной: " + Quoted(word));
    };
    auto row = [&](const std::string& word) {
        const auto number = WholeNumber(word);
        if (!number || *number < 1 || *number > SheetRows)
            Refuse(line, Quoted(word) + " — не номер строки");
        return *number;
    };
    TSht1& sheet = session_.sheet();
    if (line.words.size() == 2) {
        const int c = column(line.words[1]);
        sheet.PressCell(c, 1);
        sheet.Release();
        return;
    }
    sheet.PressCell(column(line.words[1]), row(line.words[2]));
    sheet.ExtendTo(column(line.words[3]), row(line.words[4]));
    sheet.Release();
}

void BatchRun::Digits(const ScriptLine& line) {
    const auto digits = WholeNumber(line.words[1]);
    if (!digits || !ValidSignificantDigits(*digits))
        Refuse(line, "число значащих цифр должно быть от 3 до 9");
    ws_.settings.SignificantDigits = *digits;
}

void BatchRun::Level(const ScriptLine& line) {
    const ParsedNumber level = ParseNumber(line.words[1]);
    if (!level.ok() || !ValidSignificanceLevel(level.value))
        Refuse(line, "уровень значимости должен быть больше 0 и меньше 0,2");
    ws_.settings.SignificanceLevel = level.value;
}

// "Точные вероятности": significances and critical values from the exact
// laws (on) or the program's approximations (off, the default).
void BatchRun::Exact(const ScriptLine& line) {
    const std::string& word = line.words[1];
    if (word != "on" && word != "off")
        Refuse(line, "после exact должно стоять on или off");
    ws_.settings.exactProbabilities = word == "on";
}

// The surface dialog answered by the next line, then the surface drawn.
void BatchRun::SurfaceDialog(const ScriptLine&) {
    session_.FunctionSurface();
}

void BatchRun::Folder(const ScriptLine& line) {
    session_.UseProgramFolder(answers_.PathOf(line.words[1]));
}

// The random generator's seed, so a script that draws random numbers
// replays identically.
void BatchRun::Seed(const ScriptLine& line) {
    const ParsedNumber seed = ParseNumber(line.words[1]);
    if (!seed.ok() || seed.value < 0 || seed.value > 4294967295.0 ||
        seed.value != std::trunc(seed.value))
        Refuse(line, "зерно датчика - целое число от 0 до 4294967295");
    ws_.RandomSeed = static_cast<std::uint32_t>(seed.value);
}

void BatchRun::Images(const ScriptLine& line) {
    if (!images_)
        throw BatchFailure{BatchFileError, Where(line) + ": запись графиков в файлы недоступна"};
    if (line.words[1] == "off") {
        if (line.words.size() != 2)
            Refuse(line, "команда записывается так: images off");
        imageFolder_.clear();
        return;
    }
    std::string extension = ".png";
    bool monochrome = false;
    for (std::size_t i = 2; i < line.words.size(); ++i) {
        const std::string& word = line.words[i];
        if (word == "bmp" && i == 2)
            extension = ".bmp";
        else if (word == "mono" && i == line.words.size() - 1)
            monochrome = true;
        else if (word != "png" || i != 2)
            Refuse(line, "картинки записываются в формате png или bmp, mono - черно-белыми");
    }
    const std::string folder = answers_.PathOf(line.words[1]);
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec)
        throw BatchFailure{BatchFileError, Where(line) + ": папка " + folder +
                                               " не создана: " + SystemErrorText(ec.value())};
    imageFolder_ = folder.back() == '/' ? folder : folder + "/";
    imageExtension_ = extension;
    imageMonochrome_ = monochrome;
}

// A variable of the sheet by its column number or its name as the sheet
// shows it.
int BatchRun::ColumnOf(const ScriptLine& line, const std::string& word) {
    const int count = ws_.sheet.VariableCount();
    const auto number = WholeNumber(word);
    if (number && *number >= 1 && *number <= count)
        return *number;
    for (int k = 0; k < count; ++k)
        if (Trim(VariableName(ws_, k)) == word)
            return k + 1;
    Refuse(line, "в таблице нет переменной " + Quoted(word));
}

// A graph of a kind from sheet variables, drawn as the graph menu draws it
// once its variables are chosen; with "images" on it is saved like every
// other graph. Words "name=value" set the menu's options.
void BatchRun::Graph(const ScriptLine& line) {
    const auto kind = WholeNumber(line.words[1]);
    if (!kind || GraphMenuEntryOf(*kind) == nullptr)
        Refuse(line, "вид графика - число от 1 до 18, как в меню графиков");
    if (*kind == MenuFunctionSurface) {
        Surface(line);
        return;
    }
    std::vector<int> columns;
    GraphOptions options;
    auto option = [&](const std::string& word, const char* name) -> std::optional<std::string> {
        const std::string prefix = std::string(name) + "=";
        if (word.rfind(prefix, 0) != 0)
            return std::nullopt;
        return word.substr(prefix.size());
    };
    auto whole = [&](const std::string& text, int low, int high, const char* what) {
        const auto value = WholeNumber(text);
        if (!value || *value < low || *value > high)
            Refuse(line, what);
        return *value;
    };
    for (std::size_t i = 2; i < line.words.size(); ++i) {
        const std::string& word = line.words[i];
        if (const auto v = option(word, "smoothing")) {
            options.smoothing = whole(*v, 0, 3, "сглаживание - число от 0 до 3");
        } else if (const auto v = option(word, "steps")) {
            options.steps = whole(*v, 1, 1000000000, "число шагов - целое число больше 0");
        } else if (const auto v = option(word, "coef")) {
            const ParsedNumber k = ParseNumber(*v);
            if (!k.ok() || !(k.value > 0 && k.value < 1))
                Refuse(line, "коэффициент сглаживания - число больше 0 и меньше 1");
            options.coefficient = k.value;
        } else if (const auto v = option(word, "bars")) {
            options.bars = whole(*v, 0, 1, "bars - 0 или 1") == 1;
        } else if (const auto v = option(word, "3d")) {
            options.effect3D = whole(*v, 0, 1, "3d - 0 или 1") == 1;
        } else {
            columns.push_back(ColumnOf(line, word));
        }
    }
    session_.DrawGraph(*kind, columns, options);
}

// The graph menu (F6), answered by the lines that follow.
void BatchRun::Graphs(const ScriptLine&) {
    session_.RunGraphMenu();
}

// The function surface: a formula of x and y over a grid.
void BatchRun::Surface(const ScriptLine& line) {
    if (line.words.size() != 8)
        Refuse(line,
               "команда записывается так: draw 11 <формула> <Xmin> <Xmax> <Ymin> <Ymax> <nX>");
    double range[4];
    for (int i = 0; i < 4; ++i) {
        const ParsedNumber v = ParseNumber(line.words[3 + i]);
        if (!v.ok())
            Refuse(line, Quoted(line.words[3 + i]) + " - не число");
        range[i] = v.value;
    }
    const auto points = WholeNumber(line.words[7]);
    if (!points)
        Refuse(line, "число точек сетки - целое число");
    ActiveFormula formula;
    if (CompileFormula(ws_, formula, line.words[2], FormulaContext::XY) != 0)
        return;  // the notices said why
    ws_.SetTextBuffer(GraphKindTitle(KindFunctionSurface) + ": " + line.words[2]);
    ShowFunctionSurface(ws_, formula, {range[0], range[1], range[2], range[3], *points});
}

}  // namespace

bool IsCommandWord(const std::string& word) {
    return IsCommand(word);
}

int RunBatchScript(const std::string& scriptText, const std::string& baseFolder,
                   const MethodRegistry& methods, std::ostream& results, std::ostream& messages,
                   const GraphImageWriter& images) {
    BatchRun run(scriptText, baseFolder, methods, messages, images);
    if (!run.started()) {
        messages << "dalvex-batch: No enouth memory\n";
        return BatchFileError;
    }
    const int status = run.Run();
    // What the run wrote before it stopped stays, as in the window.
    for (const std::string& text : run.results())
        results << text << '\n';
    results.flush();
    return status;
}

int RunBatchFile(const std::string& path, const MethodRegistry& methods, std::ostream& results,
                 std::ostream& messages, const GraphImageWriter& images) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        const int number = errno != 0 ? errno : ENOENT;
        messages << "dalvex-batch: сценарий " << path << " не прочитан: " << SystemErrorText(number)
                 << '\n';
        return BatchFileError;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::string base = fs::path(path).parent_path().string();
    base = base.empty() ? "./" : base + "/";
    return RunBatchScript(DecodeTextFile(bytes.str()), base, methods, results, messages, images);
}

}  // namespace dalvex
