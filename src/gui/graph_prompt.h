// The graph prompt "ПОСМОТРИТЕ ГРАФИК": a small red panel asking, while the
// person looks at a new graph, whether to keep its window.
#pragma once

class QWidget;

namespace dalvex {

// True for "Оставить". Without `offerDiscard` only "Оставить" shows, centred.
// The panel stands at the lower right of `parent` so that the graph stays
// in view.
bool ShowGraphPrompt(QWidget* parent, bool offerDiscard);

}  // namespace dalvex
