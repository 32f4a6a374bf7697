// A folder of one test's own under the system's temporary folder. Its name is
// made unique by the system (mkdtemp), so tests running in parallel, or the
// suites of two checkouts at once, never share or remove each other's files;
// the folder goes with everything in it when the object goes.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace dalvex {

class TempFolder {
  public:
    // `prefix` only makes a left-over folder recognisable ("dalvex-<prefix>-XXXXXX").
    explicit TempFolder(std::string_view prefix = "test");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }
    // The folder with a trailing '/', as the program keeps its folders.
    std::string WithSlash() const { return path_.string() + "/"; }

  private:
    std::filesystem::path path_;
};

}  // namespace dalvex
