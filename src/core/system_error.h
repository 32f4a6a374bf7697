// The reasons the system gives for a failed file operation, in the
// program's language for the usual cases; the rest as the system says them.
#pragma once

#include <string>

namespace dalvex {

// "нет такого файла или папки" for ENOENT, and so on.
std::string SystemErrorText(int errorNumber);

}  // namespace dalvex
