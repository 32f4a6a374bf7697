// A graph window's graph on paper.
#pragma once

#include <QFont>

class QPrinter;

namespace dalvex {

class TGra;

// The graph on the printer page, as large as the page allows with its
// proportions kept. False when the printer could not be opened.
bool PrintGraph(const TGra& graph, const QFont& font, QPrinter& printer);

}  // namespace dalvex
