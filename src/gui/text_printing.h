// The printer as a text device: lines in one font, top to bottom, a new page
// whenever the next line would not fit.
#pragma once

#include <string>
#include <vector>

class QFont;
class QPrinter;

namespace dalvex {

// Returns false when the printer could not be opened (no printer, an
// unwritable file).
bool PrintTextLines(QPrinter& printer, const QFont& font, const std::vector<std::string>& lines);

}  // namespace dalvex
