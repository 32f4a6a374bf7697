// The start-up picture: borderless, on top of everything, centred, gone two
// seconds after it appears.
#pragma once

class QWidget;

namespace dalvex {

// Shows the splash and paints it at once; it closes and deletes itself.
QWidget* ShowSplash();

}  // namespace dalvex
