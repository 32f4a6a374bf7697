#include "stats/statistics_methods.h"

namespace dalvex {

void RegisterStatisticsMethods(MethodRegistry& registry) {
    // One line per method, e.g.
    //   registry.Add(1, [](MethodRun& run) { DescriptiveStatistics(run.ws); });
    // Methods 11, 12, 17 and 36 also pass their choice dialog.
    (void)registry;
}

MethodRegistry BuiltStatisticsMethods() {
    MethodRegistry registry;
    RegisterStatisticsMethods(registry);
    return registry;
}

}  // namespace dalvex
