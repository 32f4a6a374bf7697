// dalvex-sweep: the long fault sweep, by hand. Every registered method in
// turn on every hostile sheet, a new seed each run, until the time is up;
// each finding is printed and its replay (the sheet, the script, the chosen
// files) written into a folder of its own.
//
//   dalvex-sweep [--minutes M] [--seed S] [--method N]... [--out DIR] [--limit SECONDS]
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <map>
#include <set>
#include <string>

#include "stats/statistics_methods.h"
#include "sweep/sweep.h"

using namespace dalvex;

int main(int argc, char** argv) {
    double minutes = 1.0;
    std::uint64_t seed = 1;
    double limit = 300.0;
    std::string out = "sweep-findings";
    std::set<int> only;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const char* value = argv[i + 1];
        if (option == "--minutes")
            minutes = std::atof(value);
        else if (option == "--seed")
            seed = std::strtoull(value, nullptr, 10);
        else if (option == "--method")
            only.insert(std::atoi(value));
        else if (option == "--out")
            out = value;
        else if (option == "--limit")
            limit = std::atof(value);
        else {
            std::cerr << "dalvex-sweep: неизвестный ключ " << option << "\n";
            return 2;
        }
    }
    if (argc % 2 == 0) {
        std::cerr << "dalvex-sweep: у ключа " << argv[argc - 1] << " нет значения\n";
        return 2;
    }
    Sweeper sweeper(out + "/work", BuiltStatisticsMethods());
    std::vector<int> methods;
    for (int method : sweeper.Methods())
        if (only.empty() || only.count(method))
            methods.push_back(method);
    if (methods.empty()) {
        std::cerr << "dalvex-sweep: таких методов в программе нет\n";
        return 2;
    }
    Watchdog watchdog(limit);
    const int sheets = static_cast<int>(HostileSheets().size());
    const auto end = std::chrono::steady_clock::now() +
                     std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                         std::chrono::duration<double>(minutes * 60.0));
    std::map<int, long> runs, findings;
    std::set<std::string> seen;
    long total = 0, written = 0;
    while (std::chrono::steady_clock::now() < end) {
        const int method = methods[static_cast<std::size_t>(total) % methods.size()];
        const int sheet = static_cast<int>((total / static_cast<long>(methods.size())) % sheets);
        const SweepCase c{seed, sheet, method};
        watchdog.Arm();
        const SweepOutcome outcome = sweeper.Run(c);
        watchdog.Disarm();
        ++runs[method];
        ++total;
        ++seed;
        if (outcome.findings.empty())
            continue;
        ++findings[method];
        // One replay for each kind of finding in each method and sheet.
        const std::string kind = std::to_string(method) + "/" + std::to_string(sheet) + "/" +
                                 outcome.findings.front().substr(0, 60);
        if (!seen.insert(kind).second)
            continue;
        const std::string folder = out + "/finding" + std::to_string(++written);
        sweeper.WriteReplay(folder, c, outcome);
        std::cout << "=== " << folder << "\n" << sweeper.Describe(c, outcome) << std::flush;
    }
    std::cout << "\nпрогонов: " << total << ", последний seed " << seed - 1 << "\n";
    for (int method : methods)
        std::cout << "метод " << method << ": прогонов " << runs[method] << ", с находками "
                  << findings[method] << "\n";
    return written == 0 ? 0 : 1;
}
