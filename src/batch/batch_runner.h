// dalvex-batch: runs a script against a fresh workspace - data files opened
// and saved, statistics methods run with every question answered from the
// script - and prints the results text in UTF-8.
#pragma once

#include <functional>
#include <ostream>
#include <string>

#include "dispatch/dispatcher.h"

namespace dalvex {

enum BatchStatus {
    BatchDone = 0,
    BatchFileError = 1,    // the script, a data file or a written file could not be had
    BatchScriptFault = 2,  // the script does not fit what the program asked
};

class TGra;

// The words that start a command of the script rather than an answer.
bool IsCommandWord(const std::string& word);

// Draws a graph into an image file (PNG, or BMP by the name's extension);
// returns the error text, empty on success. The program passes one that
// paints; without it the script's "images" command is refused.
using GraphImageWriter =
    std::function<std::string(TGra& graph, const Workspace& ws, const std::string& path)>;

// Runs the script text; relative file names are taken from `baseFolder`.
// The results go to `results`, notices and errors to `messages`.
int RunBatchScript(const std::string& scriptText, const std::string& baseFolder,
                   const MethodRegistry& methods, std::ostream& results, std::ostream& messages,
                   const GraphImageWriter& images = {});

// The script file `path`, read as a text file of the program (cp1251 or UTF-8).
int RunBatchFile(const std::string& path, const MethodRegistry& methods, std::ostream& results,
                 std::ostream& messages, const GraphImageWriter& images = {});

}  // namespace dalvex
