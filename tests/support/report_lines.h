// The report a routine writes, kept as a list of lines for the tests to read.
#pragma once

#include <string>
#include <vector>

#include "core/workspace.h"

namespace dalvex {

struct ReportLines : ReportSink {
    void WriteResult(const std::string& text) override { lines.push_back(text); }
    std::vector<std::string> lines;
};

}  // namespace dalvex
