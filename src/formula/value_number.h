// Numbers in the value table, read at every evaluation: the same result as
// ParseNumber, with a quick path for the plain decimals sheet cells mostly
// hold.
#pragma once

#include <string_view>

#include "core/number.h"

namespace dalvex {

ParsedNumber ParseValueNumber(std::string_view text);

}  // namespace dalvex
