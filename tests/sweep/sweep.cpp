#include "sweep/sweep.h"

#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "core/arithmetic_fault.h"
#include "session/session.h"
#include "sweep/random_dialogs.h"

#ifdef DALVEX_SWEEP_SANITIZED
#include <sanitizer/common_interface_defs.h>
#endif

namespace dalvex {

namespace fs = std::filesystem;

namespace {

constexpr const char* Interruption = "Прерывание: ";

// ---------------------------------------------------------------------------
// The last word of a dying run. A fixed buffer, so a signal handler can
// write it without taking locks or memory.

char crashNote[1 << 16];
std::atomic<std::size_t> crashNoteLength{0};

void WriteCrashNote() {
    const std::size_t length = crashNoteLength.load();
    if (length == 0)
        return;
    const char head[] = "\n=== dalvex sweep: the run that was going on ===\n";
    (void)!write(2, head, sizeof head - 1);
    (void)!write(2, crashNote, length);
    (void)!write(2, "\n", 1);
}

void OnFatalSignal(int signal) {
    WriteCrashNote();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void InstallCrashHandlers() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int signal : {SIGSEGV, SIGABRT, SIGFPE, SIGILL, SIGBUS})
            std::signal(signal, OnFatalSignal);
#ifdef DALVEX_SWEEP_SANITIZED
        __sanitizer_set_death_callback(WriteCrashNote);
#endif
    });
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool HoldsCyrillic(const std::string& text) {
    for (unsigned char c : text)
        if (c == 0xD0 || c == 0xD1)
            return true;
    return false;
}

// Texts that only a programmer reads: names the library gives its faults.
bool LooksTechnical(const std::string& text) {
    for (const char* word : {"std::", "basic_string", "vector", "_M_", "stoi", "stod", "bad_alloc",
                             "out_of_range", "invalid_argument", "map::at", "bad_function"})
        if (text.find(word) != std::string::npos)
            return true;
    return false;
}

bool IsArithmeticFaultText(const std::string& rest) {
    for (FaultKind kind :
         {FaultKind::DivisionByZero, FaultKind::InvalidOperation, FaultKind::Overflow})
        if (rest == FaultText(kind))
            return true;
    return false;
}

struct SheetSnapshot {
    int variables = 0;
    int longest = 0;
    std::vector<std::vector<std::string>> cells;  // [col][row], col 0 = labels
};

SheetSnapshot Snapshot(const Workspace& ws) {
    SheetSnapshot shot;
    shot.variables = ws.sheet.VariableCount();
    shot.longest = ws.sheet.LongestColumn();
    shot.cells.resize(static_cast<std::size_t>(shot.variables) + 1);
    for (int col = 0; col <= shot.variables; ++col) {
        const int rows = col == 0 ? shot.longest : ws.sheet.ColumnLength(col);
        for (int row = 0; row <= rows; ++row)
            shot.cells[static_cast<std::size_t>(col)].push_back(ws.sheet.Cell(col, row));
    }
    return shot;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

void SetCrashNote(const std::string& note) {
    const std::size_t length = std::min(note.size(), sizeof crashNote);
    crashNoteLength.store(0);
    std::memcpy(crashNote, note.data(), length);
    crashNoteLength.store(length);
}

bool NamesTypedWord(const std::string& notice, const std::vector<std::string>& lines) {
    const std::size_t colon = notice.rfind(": ");
    if (colon == std::string::npos || colon + 2 >= notice.size())
        return false;
    const std::string word = notice.substr(colon + 2);
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.find(word) != std::string::npos;
    });
}

bool HoldsNonFinite(const std::string& text) {
    std::string lower(text.size(), ' ');
    std::transform(text.begin(), text.end(), lower.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    for (const char* variant : {"#inf", "#ind", "#qnan", "#snan"})
        if (lower.find(variant) != std::string::npos)
            return true;
    for (const char* word : {"nan", "inf", "infinity"}) {
        const std::size_t n = std::strlen(word);
        for (std::size_t at = lower.find(word); at != std::string::npos;
             at = lower.find(word, at + 1)) {
            const bool before = at > 0 && IsLetter(lower[at - 1]);
            const bool after = at + n < lower.size() && IsLetter(lower[at + n]);
            if (!before && !after)
                return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------------------

Sweeper::Sweeper(std::string workFolder, MethodRegistry methods)
    : workFolder_(std::move(workFolder)), methods_(std::move(methods)) {
    if (!workFolder_.empty() && workFolder_.back() != '/')
        workFolder_ += '/';
    fs::create_directories(workFolder_ + "sheets");
    for (const HostileSheet& sheet : HostileSheets())
        std::ofstream(workFolder_ + "sheets/" + sheet.name + ".dvx", std::ios::binary)
            << NativeFileOf(sheet);
    InstallCrashHandlers();
}

std::vector<int> Sweeper::Methods() const {
    std::vector<int> methods;
    for (int method = 1; method <= 37; ++method)
        if (methods_.Has(method))
            methods.push_back(method);
    return methods;
}

SweepOutcome Sweeper::Run(const SweepCase& c) {
    const HostileSheet& hostile = HostileSheets().at(static_cast<std::size_t>(c.sheet));
    const std::string run = workFolder_ + "run/";
    std::error_code ec;
    fs::remove_all(run, ec);
    fs::create_directories(run + "memory");
    const std::string sheetFile = hostile.name + ".dvx";
    fs::copy_file(workFolder_ + "sheets/" + sheetFile, run + sheetFile);

    RandomDialogs dialogs(c.seed, run);
    const int digits = 3 + dialogs.Below(7);
    SweepOutcome outcome;
    const std::string head = "digits " + std::to_string(digits) + "\nopen " + sheetFile +
                             "\nmethod " + std::to_string(c.method) + "\n";
    const std::string caseLine = "seed " + std::to_string(c.seed) + ", лист «" + hostile.name +
                                 "», метод " + std::to_string(c.method) + "\n";
    auto note = [&] {
        std::string script = head;
        for (const std::string& line : dialogs.lines())
            script += line + "\n";
        return script;
    };
    SetCrashNote(caseLine + head);
    dialogs.answered = [&] { SetCrashNote(caseLine + note()); };
    auto find = [&](std::string what) { outcome.findings.push_back(std::move(what)); };

    Workspace ws(dialogs);
    Session session(ws, methods_);
    session.StartWithoutSettings(run + "memory/");
    // As the batch runner opens a data file.
    session.sheet().ShtFre();
    session.files().Read(run + sheetFile, true);
    ws.settings.DataFolder = run;
    ws.settings.SignificantDigits = digits;
    dialogs.ClearLog();
    const SheetSnapshot before = Snapshot(ws);

    session.graphs().shown = [&](int number, bool) {
        SetCrashNote(caseLine + note());
        const TGra* graph = session.graphs().window(number);
        if (graph == nullptr)
            return;
        const GraphData& data = graph->data();
        for (int r = 0; r < data.RowCount(); ++r)
            for (double v : data.Row(r))
                if (!std::isfinite(v)) {
                    find("ряд " + std::to_string(r) + " графика " + std::to_string(number) +
                         " содержит " + std::to_string(v));
                    return;
                }
        if (HoldsNonFinite(data.title))
            find("заголовок графика: " + data.title);
    };

    try {
        session.RunMethod(c.method);
    } catch (const ScriptMismatch& mismatch) {
        find(dialogs.budgetSpent() ? std::string("метод не кончается: ") + mismatch.what()
                                   : std::string("ответ не подошёл: ") + mismatch.what());
    } catch (const std::exception& error) {
        find(std::string("исключение вышло из метода: ") + error.what());
    }
    SetCrashNote(caseLine + note());
    outcome.script = note();
    outcome.results = session.results().Text();
    outcome.notices = dialogs.notices();
    outcome.fieldRefused = dialogs.fieldRefused();
    for (const auto& [name, content] : dialogs.files())
        outcome.files.emplace_back(name, content);

    // The results: the header, no non-finite number, the closing lines.
    const std::vector<std::string>& lines = session.results().lines();
    if (HoldsNonFinite(outcome.results))
        find("в результатах nan или inf");
    if (c.method <= 35) {
        const std::string header = session.dispatcher().HeaderLine(c.method);
        if (outcome.results.compare(0, header.size(), header) != 0)
            find("результаты начинаются не заголовком метода");
    }
    // Methods after 35 write their own heading, and only once their data
    // fit: a refused run holds just the two closing lines.
    const std::size_t shortest = c.method <= 35 ? 3 : 2;
    const bool closed = lines.size() >= shortest && lines[lines.size() - 1].empty() &&
                        lines[lines.size() - 2].empty();
    const bool choiceCancelled = MethodRegistry::NeedsChoice(c.method) && lines.size() <= 1;
    if (outcome.findings.empty() && !closed && !choiceCancelled)
        find("прогон не закрыт двумя пустыми строками");

    // The notices: each one a person can read; a stop by an arithmetic
    // fault only where the data leave the double range.
    for (const std::string& notice : outcome.notices) {
        if (HoldsNonFinite(notice) && !NamesTypedWord(notice, dialogs.lines()))
            find("nan или inf в сообщении: " + notice);
        if (!HoldsCyrillic(notice) || LooksTechnical(notice))
            find("сообщение не для человека: " + notice);
        if (notice.rfind(Interruption, 0) == 0) {
            const std::string rest = notice.substr(std::strlen(Interruption));
            const bool overflow = rest == FaultText(FaultKind::Overflow);
            if (!IsArithmeticFaultText(rest))
                find("голый текст ошибки: " + notice);
            else if (!hostile.anyFaultIsSound && !(overflow && hostile.overflowIsSound))
                find("арифметическая ошибка на вырожденных данных: " + notice);
        }
    }

    // The sheet: the columns the method found are as they were; the ones it
    // added hold no non-finite number.
    const SheetSnapshot after = Snapshot(ws);
    if (after.variables < before.variables) {
        find("переменных в листе стало меньше: " + std::to_string(after.variables));
    } else {
        for (int col = 0; col <= before.variables; ++col) {
            const auto& was = before.cells[static_cast<std::size_t>(col)];
            auto now = after.cells[static_cast<std::size_t>(col)];
            if (col == 0)
                now.resize(was.size());
            if (now != was) {
                find("столбец " + std::to_string(col) + " листа изменился");
                break;
            }
        }
        for (int col = before.variables + 1; col <= after.variables; ++col)
            for (const std::string& cell : after.cells[static_cast<std::size_t>(col)])
                if (HoldsNonFinite(cell)) {
                    find("в новом столбце " + std::to_string(col) + " листа: " + cell);
                    break;
                }
    }
    SetCrashNote({});
    return outcome;
}

std::string Sweeper::Describe(const SweepCase& c, const SweepOutcome& outcome) const {
    const HostileSheet& hostile = HostileSheets().at(static_cast<std::size_t>(c.sheet));
    std::string text = "seed " + std::to_string(c.seed) + ", лист «" + hostile.name + "», метод " +
                       std::to_string(c.method) + "\n";
    for (const std::string& finding : outcome.findings)
        text += "  находка: " + finding + "\n";
    text += "--- лист " + hostile.name + ".dvx ---\n" + SheetPreview(hostile);
    text += "--- сценарий dalvex-batch ---\n" + outcome.script;
    for (const auto& [name, content] : outcome.files)
        text += "--- " + name + " ---\n" + content;
    for (const std::string& notice : outcome.notices)
        text += "--- сообщение: " + notice + "\n";
    return text;
}

void Sweeper::WriteReplay(const std::string& folder, const SweepCase& c,
                          const SweepOutcome& outcome) const {
    const HostileSheet& hostile = HostileSheets().at(static_cast<std::size_t>(c.sheet));
    fs::create_directories(folder);
    const std::string base = folder.back() == '/' ? folder : folder + "/";
    std::ofstream(base + hostile.name + ".dvx", std::ios::binary)
        << ReadBytes(workFolder_ + "sheets/" + hostile.name + ".dvx");
    std::ofstream(base + "replay.txt", std::ios::binary)
        << "# seed " << c.seed << ", sheet " << hostile.name << ", method " << c.method << "\n"
        << outcome.script;
    for (const auto& [name, content] : outcome.files)
        std::ofstream(base + name, std::ios::binary) << content;
}

// ---------------------------------------------------------------------------

struct Watchdog::State {
    double seconds;
    std::mutex mutex;
    std::condition_variable wake;
    bool armed = false;
    bool stop = false;
    std::uint64_t generation = 0;
    std::thread thread;
};

Watchdog::Watchdog(double seconds) : state_(new State) {
    state_->seconds = seconds;
    state_->thread = std::thread([s = state_] {
        std::unique_lock lock(s->mutex);
        while (!s->stop) {
            if (!s->armed) {
                s->wake.wait(lock);
                continue;
            }
            const std::uint64_t generation = s->generation;
            const auto limit = std::chrono::duration<double>(s->seconds);
            if (!s->wake.wait_for(lock, limit, [&] {
                    return s->stop || !s->armed || s->generation != generation;
                })) {
                const char text[] = "\n=== dalvex sweep: a run went over its time limit ===";
                (void)!write(2, text, sizeof text - 1);
                WriteCrashNote();
                std::_Exit(3);
            }
        }
    });
}

Watchdog::~Watchdog() {
    {
        std::lock_guard lock(state_->mutex);
        state_->stop = true;
    }
    state_->wake.notify_all();
    state_->thread.join();
    delete state_;
}

void Watchdog::Arm() {
    {
        std::lock_guard lock(state_->mutex);
        state_->armed = true;
        ++state_->generation;
    }
    state_->wake.notify_all();
}

void Watchdog::Disarm() {
    {
        std::lock_guard lock(state_->mutex);
        state_->armed = false;
    }
    state_->wake.notify_all();
}

}  // namespace dalvex
