#include "sheet/data_file_io.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "core/sheet_bridge.h"
#include "core/system_error.h"
#include "core/text.h"

namespace dalvex {

namespace fs = std::filesystem;

std::string FileNameOf(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string LowerExtension(std::string_view path) {
    const std::string name = FileNameOf(path);
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string::npos)
        return {};
    std::string ext = name.substr(dot);
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return ext;
}

DataFormat ReadFormatOf(std::string_view path) {
    const std::string ext = LowerExtension(path);
    if (ext == ".dbf")
        return DataFormat::DBase;
    if (ext == ".dvx")
        return DataFormat::Native;
    if (ext == ".csv")
        return DataFormat::Csv;
    return DataFormat::Text;
}

DataFormat WriteFormatOf(std::string_view path) {
    const std::string ext = LowerExtension(path);
    if (ext == ".tab")
        return DataFormat::Tab;
    return ReadFormatOf(path);
}

std::string EncodeText(std::string_view utf8, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8)
        return SanitizeUtf8(utf8);
    return Utf8ToCp1251(utf8);
}

FileOutcome ReadWholeFile(const std::string& path, std::string& bytes) {
    auto failure = [&](int number) {
        return FileOutcome{false, number,
                           "Не удалось открыть файл " + path + ": " + SystemErrorText(number)};
    };
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return failure(EISDIR);
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return failure(errno != 0 ? errno : ENOENT);
    std::ostringstream all;
    all << in.rdbuf();
    if (in.bad())
        return failure(errno != 0 ? errno : EIO);
    bytes = std::move(all).str();
    return {};
}

namespace {

// A name no other file in the folder has, hidden from the file lists.
fs::path TemporaryBeside(const fs::path& target) {
    std::random_device device;
    std::mt19937 rng(device());
    for (;;) {
        const std::string name =
            "." + target.filename().string() + ".dvx-" + std::to_string(rng() % 1000000) + ".tmp";
        fs::path temp = target.parent_path() / name;
        std::error_code ec;
        if (!fs::exists(fs::symlink_status(temp, ec)))
            return temp;
    }
}

fs::path FollowLinks(fs::path target) {
    std::error_code ec;
    for (int hops = 0; hops < 40 && fs::is_symlink(target, ec); ++hops) {
        fs::path next = fs::read_symlink(target, ec);
        if (ec)
            break;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return target;
}

FileOutcome WriteFailure(int number, const std::string& path) {
    return {false, number, WriteFailureText(number, path)};
}

}  // namespace

FileOutcome ReplaceFile(const std::string& path, std::string_view bytes) {
    const fs::path target = FollowLinks(path);
    const fs::path temp = TemporaryBeside(target);
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            return WriteFailure(errno != 0 ? errno : EACCES, path);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        out.close();
        if (!out) {
            const int number = errno != 0 ? errno : EIO;
            std::error_code ignored;
            fs::remove(temp, ignored);
            return WriteFailure(number, path);
        }
    }
    std::error_code ec;
    const fs::file_status old = fs::status(target, ec);
    if (!ec && fs::is_regular_file(old))
        fs::permissions(temp, old.permissions(), ec);
    fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return WriteFailure(ec.value(), path);
    }
    return {};
}

std::string WriteFailureText(int errorNumber, const std::string& path) {
    bool full = errorNumber == ENOSPC;
#ifdef EDQUOT
    full = full || errorNumber == EDQUOT;
#endif
    if (full)
        return "!НЕТ МЕСТА НА ДИСКЕ!";
    return "Не удалось записать файл " + path + ": " + SystemErrorText(errorNumber);
}

SheetLines SheetAsLines(const SheetGrid& g) {
    SheetLines sheet;
    sheet.variables = g.VariableCount();
    if (sheet.variables == 0)
        return sheet;
    sheet.rows = g.LongestColumn();
    for (int r = 1; r <= sheet.rows && !sheet.labels; ++r)
        sheet.labels = Trim(g.Cell(0, r)) != std::to_string(r);
    return sheet;
}

const std::string& RowCell(const SheetGrid& g, int col, int row) {
    static const std::string missing;
    return row <= g.ColumnLength(col) ? g.Cell(col, row) : missing;
}

std::string CellTextFromFile(std::string_view cp1251) {
    std::string text = Cp1251ToUtf8(cp1251);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    return CharCut(text, MaxCellChars);
}

bool StoreReadText(Workspace& ws, const std::string& text, int col, int obs) {
    if (!PutSheetText(ws, text, col, obs))
        return false;
    if (Trim(text).empty())
        ws.sheet.SetCell(col, obs + 1, std::string());
    return true;
}

void StoreReadLabel(Workspace& ws, const std::string& text, int row) {
    ws.sheet.SetCell(0, row, CharCut(PadLeft(Trim(text), 4), MaxCellChars));
}

}  // namespace dalvex
