#include "output/text_resource.h"

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <map>
#include <system_error>

#include "core/text.h"
#include "core/workspace.h"
#include "output/sth_builtin.h"

namespace dalvex {

namespace {

namespace fs = std::filesystem;

// 16-bit offsets and a table of 2 bytes per group: anything larger is not a
// text resource file, and is not read beyond this.
constexpr std::size_t kMaxFileBytes = std::size_t{1} << 17;

const char* const kMissingNotice =
    "!НЕ УДАЛОСЬ ПРОЧИТАТЬ ФАЙЛ ТЕКСТОВ Sth.ini - ИСПОЛЬЗУЮТСЯ ВСТРОЕННЫЕ ТЕКСТЫ!";
const char* const kDamagedNotice =
    "!ФАЙЛ ТЕКСТОВ Sth.ini ПОВРЕЖДЕН - ИСПОЛЬЗУЮТСЯ ВСТРОЕННЫЕ ТЕКСТЫ!";

std::size_t ReadOffset(std::string_view bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]) |
           (static_cast<std::size_t>(static_cast<unsigned char>(bytes[at + 1])) << 8);
}

// The entries in [begin, end), which they must fill exactly.
bool ReadEntries(std::string_view bytes, std::size_t begin, std::size_t end,
                 std::vector<std::string>& texts) {
    std::size_t pos = begin;
    while (pos < end) {
        const std::size_t length = static_cast<unsigned char>(bytes[pos]);
        if (end - pos < length + 2)
            return false;
        const auto text = bytes.substr(pos + 1, std::min<std::size_t>(length, ResourceTextChars));
        texts.push_back(Cp1251ToUtf8(text));
        pos += length + 2;
    }
    return true;
}

enum class FileRead { ok, missing, tooLarge };

FileRead ReadFileCapped(const fs::path& path, std::string& bytes) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return FileRead::missing;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return FileRead::missing;
    bytes.assign(kMaxFileBytes + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad())
        return FileRead::missing;
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes.size() > kMaxFileBytes ? FileRead::tooLarge : FileRead::ok;
}

}  // namespace

bool TextResources::Load(std::string_view bytes) {
    if (bytes.size() < 2 || bytes.size() > kMaxFileBytes)
        return false;
    const std::size_t table = ReadOffset(bytes, 0);
    if (table < 2 || table >= bytes.size() || (bytes.size() - table) % 2 != 0)
        return false;

    const std::size_t groupCount = (bytes.size() - table) / 2;
    std::vector<std::size_t> offsets(groupCount);
    for (std::size_t g = 0; g < groupCount; ++g) {
        offsets[g] = ReadOffset(bytes, table + 2 * g);
        if (offsets[g] < 2 || offsets[g] > table)
            return false;
    }

    // Each distinct offset starts a run of entries that ends where the next
    // one starts; groups sharing an offset share the entries.
    std::vector<std::size_t> starts = offsets;
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    std::map<std::size_t, std::vector<std::string>> runs;
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const std::size_t end = i + 1 < starts.size() ? starts[i + 1] : table;
        if (!ReadEntries(bytes, starts[i], end, runs[starts[i]]))
            return false;
    }

    std::vector<std::vector<std::string>> groups(groupCount);
    for (std::size_t g = 0; g < groupCount; ++g)
        groups[g] = runs[offsets[g]];
    groups_ = std::move(groups);
    return true;
}

int TextResources::EntryCount(int group) const {
    if (group < 0 || group >= GroupCount())
        return 0;
    return static_cast<int>(groups_[group].size());
}

std::string TextResources::Entry(int group, int n) const {
    if (n < 1 || n > EntryCount(group))
        return {};
    return groups_[group][n - 1];
}

const TextResources& TextResources::Builtin() {
    static const TextResources builtin = [] {
        TextResources r;
        r.Load(BuiltinSthBytes());
        return r;
    }();
    return builtin;
}

bool LoadTextResourceFile(Workspace& ws, TextResources& table) {
    std::string bytes;
    const FileRead read = ReadFileCapped(fs::path(ws.ProgramFolder + TextResourceFileName), bytes);
    // Our files end in the group table, so a file cut short either loses its
    // table or keeps one that ends before the groups the program reads.
    const bool used = read == FileRead::ok && table.Load(bytes) &&
                      table.GroupCount() >= TextResources::Builtin().GroupCount();
    if (!used) {
        table = TextResources::Builtin();
        ShowNotice(ws, read == FileRead::missing ? kMissingNotice : kDamagedNotice);
    }
    ws.resources = &table;
    return used;
}

bool WriteTextResourceFileIfMissing(const std::string& programFolder) {
    const fs::path path(programFolder + TextResourceFileName);
    std::error_code ec;
    if (fs::exists(path, ec) || ec)
        return !ec;
    const std::string_view bytes = BuiltinSthBytes();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out.fail())
        return true;
    fs::remove(path, ec);  // a half-written file would read as damaged next time
    return false;
}

void ReadTextResource(Workspace& ws, const TextResources& r, int group, int n) {
    ws.SetTextBuffer(r.Entry(group, n));
}

}  // namespace dalvex
