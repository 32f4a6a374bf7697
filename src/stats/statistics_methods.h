// The statistics methods the program can run, by menu number. Each method
// group adds its routines here; the menu enables exactly these.
#pragma once

#include "dispatch/dispatcher.h"

namespace dalvex {

void RegisterStatisticsMethods(MethodRegistry& registry);

// A registry holding every built method.
MethodRegistry BuiltStatisticsMethods();

}  // namespace dalvex
