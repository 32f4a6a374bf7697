// A batch script run end to end with the program's statistics methods, its
// results and messages kept as text: the fixture of the tests that drive a
// method from a script. Header only: the suites that include it link the
// batch runner and the statistics methods themselves.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "batch/batch_runner.h"
#include "stats/statistics_methods.h"

namespace dalvex {

struct BatchOutcome {
    int status = 0;
    std::string results;
    std::string messages;
};

// Runs `script`; relative file names are taken from `folder` (ending with '/').
inline BatchOutcome RunMethodsScript(const std::string& script, const std::string& folder,
                                     const MethodRegistry& methods = BuiltStatisticsMethods()) {
    std::ostringstream results, messages;
    const int status = RunBatchScript(script, folder, methods, results, messages);
    return {status, results.str(), messages.str()};
}

// A file's bytes as a script left them.
inline std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace dalvex
