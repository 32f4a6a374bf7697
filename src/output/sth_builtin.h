// The "Sth.ini" image compiled into the program. Its source is generated at
// build time from resources/sth/sth.txt, like the shipped file itself.
#pragma once

#include <string_view>

namespace dalvex {

std::string_view BuiltinSthBytes();

}  // namespace dalvex
