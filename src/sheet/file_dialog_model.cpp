#include "sheet/file_dialog_model.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>

#include "core/arithmetic_fault.h"
#include "core/settings.h"
#include "core/system_error.h"
#include "core/text.h"
#include "sheet/data_file_io.h"
#include "sheet/native_data_file.h"

namespace dalvex {

namespace fs = std::filesystem;

FileChoice AskForFile(Workspace& ws, const FileRequest& request) {
    FileChoice choice;
    {
        const FloatingFlagsKept kept;  // the window's arithmetic is not the command's
        choice = ws.ui.ChooseFile(request);
    }
    ws.LastAnswer = choice.chosen ? 1 : 0;
    if (choice.chosen)
        ws.SetTextBuffer(choice.path);
    return choice;
}

// ---------------------------------------------------------------------------
// Filters and patterns.

std::vector<FileFilter> ParseFilter(std::string_view filter) {
    std::vector<FileFilter> out;
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start < filter.size()) {
        std::size_t bar = filter.find('|', start);
        if (bar == std::string_view::npos)
            bar = filter.size();
        parts.emplace_back(filter.substr(start, bar - start));
        start = bar + 1;
    }
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2)
        out.push_back({parts[i], parts[i + 1]});
    return out;
}

namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool Glob(std::string_view name, std::string_view pattern) {
    // Iterative matching with one remembered '*' position: linear enough for
    // file names, never recursive.
    std::size_t n = 0, p = 0, star = std::string_view::npos, mark = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

}  // namespace

bool MatchesPattern(std::string_view name, std::string_view pattern) {
    // "*.*" lists every file, those without an extension too.
    if (pattern == "*.*" || pattern == "*")
        return true;
    std::string lower(name);
    for (char& c : lower)
        c = LowerAscii(c);
    std::string lowerPattern(pattern);
    for (char& c : lowerPattern)
        c = LowerAscii(c);
    return Glob(lower, lowerPattern);
}

std::string PatternExtension(std::string_view pattern) {
    const std::size_t dot = pattern.find('.');
    if (dot == std::string_view::npos)
        return {};
    const std::string_view ext = pattern.substr(dot);
    if (ext.find_first_of("*?") != std::string_view::npos)
        return {};
    return std::string(ext);
}

std::string ReadFileTitle(const std::string& path) {
    if (LowerExtension(path) != ".dvx")
        return {};
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    std::string bytes(256, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return Trim(NativeTitle(bytes));
}

// ---------------------------------------------------------------------------
// Volumes.

namespace {

// /proc/mounts writes blanks and other special characters as \ooo.
std::string UnescapeMountPath(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() &&
            std::all_of(text.begin() + static_cast<long>(i) + 1,
                        text.begin() + static_cast<long>(i) + 4,
                        [](char c) { return c >= '0' && c <= '7'; })) {
            out += static_cast<char>((text[i + 1] - '0') * 64 + (text[i + 2] - '0') * 8 +
                                     (text[i + 3] - '0'));
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool IsNetworkType(std::string_view type) {
    static const std::set<std::string_view> kinds = {"nfs",   "nfs4",       "cifs", "smb3",
                                                     "smbfs", "fuse.sshfs", "afs",  "ncpfs"};
    return kinds.count(type) > 0;
}

bool IsRemovablePlace(std::string_view path) {
    for (std::string_view place : {"/media/", "/run/media/", "/mnt/"})
        if (path.substr(0, place.size()) == place)
            return true;
    return false;
}

std::string LastComponent(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::vector<Volume> MountedVolumes(std::string_view mounts, const std::string& home) {
    std::vector<Volume> out{{"/", "/", Volume::Kind::Fixed}};
    if (!home.empty() && home != "/")
        out.push_back({"~", home, Volume::Kind::Fixed});
    std::size_t start = 0;
    while (start < mounts.size()) {
        std::size_t end = mounts.find('\n', start);
        if (end == std::string_view::npos)
            end = mounts.size();
        const std::string_view line = mounts.substr(start, end - start);
        start = end + 1;
        std::vector<std::string_view> fields;
        std::size_t f = 0;
        while (f < line.size() && fields.size() < 3) {
            const std::size_t b = line.find(' ', f);
            const std::size_t e = b == std::string_view::npos ? line.size() : b;
            fields.push_back(line.substr(f, e - f));
            f = e + 1;
        }
        if (fields.size() < 3)
            continue;
        const std::string path = UnescapeMountPath(fields[1]);
        const bool network = IsNetworkType(fields[2]);
        if (!network && !IsRemovablePlace(path))
            continue;
        if (std::any_of(out.begin(), out.end(), [&](const Volume& v) { return v.path == path; }))
            continue;
        out.push_back(
            {LastComponent(path), path, network ? Volume::Kind::Network : Volume::Kind::Removable});
    }
    return out;
}

// ---------------------------------------------------------------------------
// TFMn

TFMn::TFMn(Workspace& ws) : ws_(ws), filters_{{"Все (*.*)", "*.*"}} {
    std::error_code ec;
    folder_ = fs::current_path(ec).string();
}

void TFMn::Ini(const FileRequest& request) {
    mode_ = request.mode == 1 ? 1 : 0;
    filters_ = ParseFilter(request.filter);
    if (filters_.empty())
        filters_ = {{"Все (*.*)", "*.*"}};
    const bool dataFiles = std::any_of(filters_.begin(), filters_.end(),
                                       [](const FileFilter& f) { return f.pattern == "*.dvx"; });
    filterIndex_ =
        dataFiles ? std::clamp(request.filterIndex, 0, static_cast<int>(filters_.size()) - 1) : 0;
    comment_.clear();
    name_.clear();
    if (mode_ == 1 && !request.defaultName.empty()) {
        comment_ = request.comment;
        name_ = request.defaultName.substr(0, request.defaultName.find('.'));
    }
    searchPanelShown_ = false;
    LoadPatterns();
}

void TFMn::Show() {
    closed_ = false;
    answer_ = 0;
    ws_.LastAnswer = 0;
    choice_ = {};
    treeShown_ = false;
    std::error_code ec;
    // Before any folder was used, the data folder beside the program's own
    // files (where the sample data set is put) is the natural place to start.
    std::string wanted = ws_.settings.DataFolder;
    if (wanted.empty() && fs::is_directory(ws_.ProgramFolder + "data", ec))
        wanted = ws_.ProgramFolder + "data";
    if (!wanted.empty() && fs::is_directory(wanted, ec))
        folder_ = fs::path(wanted).lexically_normal().string();
    if (folder_.size() > 1 && folder_.back() == '/')
        folder_.pop_back();
    std::string mounts;
    std::ifstream in("/proc/mounts");
    if (in)
        mounts.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    const char* home = std::getenv("HOME");
    volumes_ = MountedVolumes(mounts, home ? home : "");
    Refresh();
}

std::string TFMn::caption() const {
    return mode_ == 1 ? "Запись файла" : "Чтение файла";
}

bool TFMn::menuShown() const {
    return mode_ == 0 && LowerCase(pattern()) == "*.dvx";
}

int TFMn::currentVolume() const {
    int best = -1;
    std::size_t bestLength = 0;
    for (int i = 0; i < static_cast<int>(volumes_.size()); ++i) {
        const std::string& path = volumes_[i].path;
        const bool inside =
            folder_ == path || path == "/" ||
            (folder_.size() > path.size() && folder_.compare(0, path.size(), path) == 0 &&
             folder_[path.size()] == '/');
        if (inside && path.size() >= bestLength) {
            best = i;
            bestLength = path.size();
        }
    }
    return best;
}

std::string TFMn::commentsButtonCaption() const {
    return commentsMode_ ? "Комментарии-" : "Комментарии+";
}

ListLayout TFMn::listLayout() const {
    if (treeShown_ || commentsMode_)
        return {90, 1, false};
    return {290, 3, true};
}

const std::string& TFMn::Title(int index) {
    FileEntry& entry = entries_[listed_[index]];
    if (!entry.title)
        entry.title = ReadFileTitle(PathOf(entry.name));
    return *entry.title;
}

const FileEntry* TFMn::currentFile() const {
    return selected_ >= 0 && selected_ < fileCount() ? &file(selected_) : nullptr;
}

std::string TFMn::PathOf(const std::string& name) const {
    if (!name.empty() && name[0] == '/')
        return name;
    return folder_ == "/" ? "/" + name : folder_ + "/" + name;
}

void TFMn::Refresh() {
    entries_.clear();
    listed_.clear();
    std::error_code ec;
    const bool everything = pattern() == "*.*";
    for (fs::directory_iterator it(folder_, fs::directory_options::skip_permission_denied, ec), end;
         !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code fileError;
        if (name.empty() || name[0] == '.' || !it->is_regular_file(fileError) ||
            !MatchesPattern(name, pattern()))
            continue;
        FileEntry entry;
        entry.name = name;
        const std::size_t dot = name.find_last_of('.');
        entry.shown =
            everything || dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
        const auto time = it->last_write_time(fileError);
        if (!fileError)
            entry.modified = std::chrono::duration_cast<std::chrono::seconds>(
                                 std::chrono::file_clock::to_sys(time).time_since_epoch())
                                 .count();
        entries_.push_back(std::move(entry));
    }
    std::sort(entries_.begin(), entries_.end(), [](const FileEntry& a, const FileEntry& b) {
        const std::string la = LowerCase(a.name);
        const std::string lb = LowerCase(b.name);
        return la != lb ? la < lb : a.name < b.name;
    });
    for (int i = 0; i < static_cast<int>(entries_.size()); ++i)
        listed_.push_back(i);
    selected_ = listed_.empty() ? -1 : 0;
}

bool TFMn::ChangeFolder(const std::string& folder) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        return false;
    std::string normal = fs::absolute(folder, ec).lexically_normal().string();
    if (normal.size() > 1 && normal.back() == '/')
        normal.pop_back();
    folder_ = normal;
    Refresh();
    return true;
}

void TFMn::ChooseVolume(int index) {
    if (index >= 0 && index < static_cast<int>(volumes_.size()))
        ChangeFolder(volumes_[index].path);
}

void TFMn::ChooseType(int index) {
    if (index < 0 || index >= static_cast<int>(filters_.size()))
        return;
    filterIndex_ = index;
    if (!menuShown())
        searchPanelShown_ = false;
    Refresh();
}

void TFMn::ClickFile(int index) {
    if (index < 0 || index >= fileCount())
        return;
    selected_ = index;
    if (mode_ == 1)
        name_ = file(index).name;
    comment_ = Title(index);
}

void TFMn::Confirm() {
    answer_ = 1;
    std::string name;
    const std::string selectedName = selected_ >= 0 ? file(selected_).name : std::string();
    if (mode_ == 1) {
        name = Trim(name_);
        const std::string extension = PatternExtension(pattern());
        if (FileNameOf(name).find('.') == std::string::npos)
            name += extension;
        // An empty name with the text type takes the file selected in the list.
        if (name == ".txt" && extension == ".txt")
            name = selectedName;
    } else {
        name = selectedName;
    }
    if (name.empty() || name[0] == '.') {
        ShowNotice(ws_, NoFileNotice);
        answer_ = 0;
    } else {
        choice_.path = PathOf(name);
    }
    Finish();
}

void TFMn::ActivateFile(int index) {
    if (index < 0 || index >= fileCount())
        return;
    ClickFile(index);
    answer_ = 1;
    choice_.path = PathOf(file(index).name);
    Finish();
}

void TFMn::Cancel() {
    answer_ = 0;
    Finish();
}

void TFMn::Finish() {
    choice_.chosen = answer_ == 1;
    choice_.comment = comment_;
    choice_.filterIndex = filterIndex_;
    if (!choice_.chosen)
        choice_.path.clear();
    if (choice_.chosen)
        ws_.settings.DataFolder = folder_ == "/" ? folder_ : folder_ + "/";
    SavePatterns();
    ws_.LastAnswer = answer_;
    if (choice_.chosen)
        ws_.SetTextBuffer(choice_.path);
    closed_ = true;
}

void TFMn::Delete(int index) {
    if (index < 0 || index >= fileCount())
        return;
    const std::string name = file(index).name;
    if (!AskYesNo(ws_, "Удалить файл " + name + " ?"))
        return;
    std::error_code ec;
    if (!fs::remove(PathOf(name), ec)) {
        const std::string reason = SystemErrorText(ec ? ec.value() : ENOENT);
        ShowNotice(ws_, "Не удалось удалить файл " + name + ": " + reason);
    }
    Refresh();
}

void TFMn::ToggleTree() {
    treeShown_ = !treeShown_;
    if (treeShown_)
        commentsMode_ = false;
}

void TFMn::ToggleComments() {
    commentsMode_ = !commentsMode_;
    if (commentsMode_)
        treeShown_ = false;
}

void TFMn::ClickPattern(int index) {
    if (index >= 0 && index < SearchPatternCount)
        lastPattern_ = index;
}

void TFMn::EditPattern(const std::string& text) {
    patterns_[lastPattern_] = text;
}

void TFMn::Search(const std::string& text) {
    searchPanelShown_ = false;
    const std::string wanted = Trim(text);
    listed_.clear();
    for (int i = 0; i < static_cast<int>(entries_.size()); ++i) {
        if (!wanted.empty()) {
            FileEntry& entry = entries_[i];
            if (!entry.title)
                entry.title = ReadFileTitle(PathOf(entry.name));
            if (Trim(CharCut(*entry.title, SearchTitleChars)).find(wanted) == std::string::npos)
                continue;
        }
        listed_.push_back(i);
    }
    selected_ = listed_.empty() ? -1 : 0;
}

void TFMn::LoadPatterns() {
    std::vector<std::string> lines;
    patternsUnreadable_ = !ReadLinesFile(ws_.ProgramFolder + PatternsFileName, lines).ok;
    if (patternsUnreadable_) {
        ws_.ui.Beep();
        return;
    }
    for (int i = 0; i < SearchPatternCount; ++i)
        patterns_[i] = i < static_cast<int>(lines.size()) ? lines[i] : std::string();
}

void TFMn::SavePatterns() {
    WriteLinesFile(ws_.ProgramFolder + PatternsFileName,
                   std::vector<std::string>(patterns_.begin(), patterns_.end()));
}

}  // namespace dalvex
