#include "support/temp_folder.h"

#include <stdlib.h>

#include <cerrno>
#include <system_error>

namespace dalvex {

TempFolder::TempFolder(std::string_view prefix) {
    std::string name =
        (std::filesystem::temp_directory_path() / ("dalvex-" + std::string(prefix) + "-XXXXXX"))
            .string();
    if (::mkdtemp(name.data()) == nullptr)
        throw std::system_error(errno, std::generic_category(), "mkdtemp " + name);
    path_ = name;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace dalvex
