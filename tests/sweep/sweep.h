// The fault sweep: every method of the registry run on a hostile sheet with
// every dialog answered at random, then checked - no exception let out, no
// "nan" or "inf" in the results, the notices, the sheet or a graph's series,
// no column the method did not write changed, every refusal a readable
// notice, the run closed by its two empty lines. A run is named by its seed,
// its sheet and its method, and a finding comes with a dalvex-batch script
// that replays it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dispatch/dispatcher.h"
#include "sweep/hostile_sheets.h"

namespace dalvex {

struct SweepCase {
    std::uint64_t seed = 0;
    int sheet = 0;  // index into HostileSheets()
    int method = 0;
};

struct SweepOutcome {
    std::vector<std::string> findings;
    // "digits", "open", "method" and the answers, as a dalvex-batch script.
    std::string script;
    std::string results;
    std::vector<std::string> notices;
    // A form's field was refused: dalvex-batch stops its script there.
    bool fieldRefused = false;
    // Files the answers chose, by name beside the script.
    std::vector<std::pair<std::string, std::string>> files;
};

// Whether a text holds "nan", "inf" or one of their printed variants as a
// word of its own, in any case.
bool HoldsNonFinite(const std::string& text);
// Whether the notice ends by naming a word the script typed, as the formula
// compiler names an unknown word ("Нет такой переменной: inf"): that is the
// person's own text, not a figure of the program.
bool NamesTypedWord(const std::string& notice, const std::vector<std::string>& lines);

class Sweeper {
  public:
    // Runs happen in `workFolder` (created; the sheets' files go there).
    Sweeper(std::string workFolder, MethodRegistry methods);

    // The methods the registry holds, in menu order.
    std::vector<int> Methods() const;

    SweepOutcome Run(const SweepCase& c);

    // What a person needs to see a finding again: the case, the findings,
    // the sheet's first rows and the script.
    std::string Describe(const SweepCase& c, const SweepOutcome& outcome) const;
    // The script, the sheet's file and the chosen files into `folder`, so
    // that `dalvex-batch folder/replay.txt` runs the case again.
    void WriteReplay(const std::string& folder, const SweepCase& c,
                     const SweepOutcome& outcome) const;

  private:
    std::string workFolder_;
    MethodRegistry methods_;
};

// A last word for a run that dies or hangs: the case and the answers so far
// are printed to standard error when the process is killed by a sanitizer,
// a signal or the watchdog. Set by Sweeper::Run.
void SetCrashNote(const std::string& note);

// Kills the process with the crash note when a run takes longer than
// `seconds`; Arm before a run, Disarm after it.
class Watchdog {
  public:
    explicit Watchdog(double seconds);
    ~Watchdog();
    void Arm();
    void Disarm();

  private:
    struct State;
    State* state_;
};

}  // namespace dalvex
