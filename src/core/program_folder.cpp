#include "core/program_folder.h"

#include <chrono>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/settings.h"

namespace dalvex {

namespace fs = std::filesystem;

namespace {

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

bool IsSet(const char* variable) {
    return variable != nullptr && *variable != '\0';
}

}  // namespace

std::string ResolveProgramFolder(const std::string& currentFolder, const char* xdgDataHome,
                                 const char* home) {
    const std::string current = WithSlash(currentFolder);
    std::error_code ec;
    if (fs::is_regular_file(current + SettingsFileName, ec))
        return current;

    std::string dataHome;
    if (IsSet(xdgDataHome))
        dataHome = WithSlash(xdgDataHome);
    else if (IsSet(home))
        dataHome = WithSlash(home) + ".local/share/";
    else
        return current;
    const std::string folder = dataHome + "dalvex/";
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec))
        return current;
    return folder;
}

std::string ProgramFolderAtStart() {
    std::error_code ec;
    const fs::path current = fs::current_path(ec);
    return ResolveProgramFolder(ec ? std::string(".") : current.string(),
                                std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

int CopySamplesAtFirstStart(const std::string& programFolder, const std::string& samplesFolder) {
    std::error_code ec;
    const fs::path data = WithSlash(programFolder) + "data";
    if (samplesFolder.empty() || !fs::is_directory(samplesFolder, ec) || fs::exists(data, ec))
        return 0;
    if (!fs::create_directories(data, ec))
        return 0;
    int copied = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(samplesFolder, ec)) {
        std::error_code fileError;
        if (entry.is_regular_file(fileError) &&
            fs::copy_file(entry.path(), data / entry.path().filename(), fileError))
            ++copied;
    }
    return copied;
}

int DeleteLeftoverGraphFiles(const std::string& folder) {
    int deleted = 0;
    for (int n = 1;; ++n) {
        const fs::path file = WithSlash(folder) + "gr" + std::to_string(n) + ".tmp";
        std::error_code ec;
        if (!fs::exists(file, ec))
            break;
        if (fs::remove(file, ec))
            ++deleted;
    }
    return deleted;
}

char LocaleDecimalSeparator() {
    std::setlocale(LC_NUMERIC, "");
    const std::lconv* conventions = std::localeconv();
    const char separator = conventions != nullptr && conventions->decimal_point != nullptr &&
                                   conventions->decimal_point[0] != '\0'
                               ? conventions->decimal_point[0]
                               : '.';
    std::setlocale(LC_NUMERIC, "C");
    // A multi-byte separator (some locales) cannot stand in a one-byte slot;
    // the point is the safe choice then.
    return separator == ',' ? ',' : '.';
}

void PrepareWorkspaceAtStart(Workspace& ws, const std::string& programFolder) {
    ws.ProgramFolder = WithSlash(programFolder);
    const auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
    ws.RandomSeed = static_cast<std::uint32_t>(ticks);
    DeleteLeftoverGraphFiles(ws.ProgramFolder);
}

bool AllocateStoreAtStart(Workspace& ws) {
    if (ws.store.Allocate())
        return true;
    ShowNotice(ws, "No enouth memory");
    return false;
}

// ---------------------------------------------------------------------------

bool SettingsFile::Read(Workspace& ws, std::vector<std::string>& lines) {
    const SettingsFileResult result = ReadLinesFile(path_, lines);
    if (!result.ok)
        ShowNotice(ws, "Прерывание: " + result.error);
    return result.ok;
}

bool SettingsFile::Write(Workspace& ws, const std::vector<std::string>& lines) {
    const SettingsFileResult result = WriteLinesFile(path_, lines);
    if (!result.ok)
        ShowNotice(ws, "Прерывание: " + result.error);
    return result.ok;
}

void SettingsFile::LoadAtStart(Workspace& ws) {
    std::error_code ec;
    if (!fs::exists(path_, ec)) {
        Write(ws, DefaultSettingsLines(ws.settings));
        return;
    }
    std::vector<std::string> lines;
    if (!Read(ws, lines)) {
        unreadable_ = true;
        return;
    }
    const std::vector<int> refused = ApplySettingsLines(lines, ws.settings);
    if (!refused.empty())
        ShowNotice(ws, RefusedSettingsNotice(refused));
    if (CompleteSettingsLines(lines))
        Write(ws, lines);
}

void SettingsFile::Remember(Workspace& ws) {
    std::vector<std::string> lines;
    std::error_code ec;
    // The command goes on with what could be read, as the person asked for
    // the settings to be kept.
    if (fs::exists(path_, ec))
        Read(ws, lines);
    PutRememberLines(lines, ws.settings);
    if (Write(ws, lines))
        unreadable_ = false;
}

void SettingsFile::SaveAtClose(Workspace& ws) {
    if (unreadable_)
        return;
    std::vector<std::string> lines;
    std::error_code ec;
    if (fs::exists(path_, ec) && !Read(ws, lines))
        return;
    PutCloseLines(lines, ws.settings);
    Write(ws, lines);
}

}  // namespace dalvex
