#include "sheet/dbase_data_file.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/sheet_bridge.h"
#include "core/text.h"
#include "sheet/data_file_io.h"
#include "sheet/text_data_file.h"

namespace dalvex {

namespace {

constexpr int HeaderBytes = 32;
constexpr int DescriptorBytes = 32;
constexpr long MaxRecordBytes = 65535;  // the header keeps it in 16 bits
constexpr char DescriptorsEnd = 0x0D;
constexpr char FileEnd = 0x1A;

void PutLittle(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint32_t GetLittle(std::string_view bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// The Windows Cyrillic field text of a cell: trimmed, "?" when missing.
std::string FieldText(const std::string& cell) {
    const std::string text = Utf8ToCp1251(Trim(cell));
    return text.empty() ? std::string("?") : text;
}

// Each field as wide as its longest text (at least 20, at most 254); when the
// record would pass its 16-bit length, the widest fields give way.
std::vector<int> FieldWidths(const SheetGrid& g) {
    const int n = g.VariableCount();
    std::vector<int> widths(static_cast<std::size_t>(n), DBaseFieldWidth);
    for (int c = 1; c <= n; ++c)
        for (int r = 1; r <= g.ColumnLength(c); ++r)
            widths[c - 1] =
                std::max(widths[c - 1], static_cast<int>(FieldText(g.Cell(c, r)).size()));
    for (int& w : widths)
        w = std::min(w, DBaseMaxFieldWidth);
    auto total = [&](int cap) {
        long sum = 1;
        for (int w : widths)
            sum += std::min(w, cap);
        return sum;
    };
    if (total(DBaseMaxFieldWidth) > MaxRecordBytes) {
        int cap = DBaseMaxFieldWidth;
        while (cap > 1 && total(cap) > MaxRecordBytes)
            --cap;
        for (int& w : widths)
            w = std::min(w, cap);
    }
    return widths;
}

void PutDescriptor(std::string& out, const std::string& name, int col, int width) {
    std::string d(DescriptorBytes, '\0');
    // A blank name would make a descriptor no reader accepts, this one
    // included: the table could not be read back.
    std::string trimmed = Trim(name);
    if (trimmed.empty())
        trimmed = Trim(SheetGrid::DefaultName(col));
    std::string bytes = Utf8ToCp1251(trimmed);
    bytes.resize(std::min<std::size_t>(bytes.size(), DBaseNameBytes));
    d.replace(0, bytes.size(), bytes);
    d[11] = 'C';
    d[16] = static_cast<char>(width);
    d[20] = 1;
    out += d;
}

// A numeric field's text with its implied decimal point, when the field
// declares decimals and the text does not already hold a point.
std::string WithImpliedPoint(std::string text, int decimals) {
    if (decimals <= 0 || text.empty() || text.find('.') != std::string::npos)
        return text;
    std::string sign;
    if (text[0] == '-' || text[0] == '+') {
        sign = text.substr(0, 1);
        text.erase(0, 1);
    }
    if (text.empty() ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return sign + text;
    if (static_cast<int>(text.size()) <= decimals)
        text.insert(0, static_cast<std::size_t>(decimals) - text.size() + 1, '0');
    text.insert(text.size() - static_cast<std::size_t>(decimals), ".");
    return sign + text;
}

struct Field {
    int width = 0;
    int decimals = 0;
};

}  // namespace

std::string WriteDBaseData(const Workspace& ws) {
    const SheetGrid& g = ws.sheet;
    const int n = g.VariableCount();
    std::string out;
    if (n == 0)
        return out;
    const int rows = g.LongestColumn();
    const std::vector<int> widths = FieldWidths(g);
    long recordBytes = 1;
    for (int w : widths)
        recordBytes += w;

    out += '\x03';
    out += "\x60\x02\x05";
    PutLittle(out, static_cast<std::uint32_t>(rows), 4);
    PutLittle(out, static_cast<std::uint32_t>(DescriptorBytes * n + HeaderBytes + 1), 2);
    PutLittle(out, static_cast<std::uint32_t>(recordBytes), 2);
    out.append(20, '\0');
    for (int c = 1; c <= n; ++c)
        PutDescriptor(out, g.Cell(c, 0), c, widths[c - 1]);
    out += DescriptorsEnd;
    out.reserve(out.size() + static_cast<std::size_t>(recordBytes) * rows + 1);
    for (int r = 1; r <= rows; ++r) {
        out += ' ';
        for (int c = 1; c <= n; ++c) {
            std::string text = FieldText(r <= g.ColumnLength(c) ? g.Cell(c, r) : std::string());
            const auto width = static_cast<std::size_t>(widths[c - 1]);
            if (text.size() > width)
                text.resize(width);
            out.append(width - text.size(), ' ');
            out += text;
        }
    }
    out += FileEnd;
    return out;
}

namespace {

// A descriptor that no dBase writer makes: a name that is empty or holds
// control characters, an unknown field type, a field of no width.
bool SoundDescriptor(std::string_view d) {
    const std::string_view name =
        d.substr(0, std::min<std::size_t>(d.substr(0, 11).find('\0'), 11));
    if (name.empty())
        return false;
    for (char c : name)
        if (static_cast<unsigned char>(c) < 0x20)
            return false;
    static constexpr std::string_view Types = "CNFDLMBGPYTIO@+0VW";
    return Types.find(d[11]) != std::string_view::npos && d[11] != '\0' && d[16] != '\0';
}

// A field only of '*' (a numeric null), of '?' (an unknown logical) or of
// zero bytes (an empty character field, as some writers leave it) is missing.
bool NullField(std::string_view field) {
    const std::string_view t = field.substr(0, field.find_last_not_of(' ') + 1);
    const std::size_t start = t.find_first_not_of(' ');
    if (start == std::string_view::npos)
        return true;
    const std::string_view core = t.substr(start);
    return core.find_first_not_of('*') == std::string_view::npos ||
           core.find_first_not_of('?') == std::string_view::npos ||
           core.find_first_not_of('\0') == std::string_view::npos;
}

}  // namespace

std::string DBaseFileRefusal(std::string_view bytes) {
    static constexpr std::string_view Versions =
        "\x02\x03\x04\x05\x30\x31\x32\x43\x63\x83\x8B\x8E\xCB\xE5\xF5\xFB";
    if (bytes.size() < HeaderBytes + 1 || Versions.find(bytes[0]) == std::string_view::npos)
        return NotADBaseFileText;
    const std::size_t headerLength = GetLittle(bytes, 8, 2);
    const std::size_t recordLength = GetLittle(bytes, 10, 2);
    if (headerLength < HeaderBytes + DescriptorBytes + 1)
        return NotADBaseFileText;
    // Descriptors up to the terminator, all inside the header.
    std::size_t widths = 1;
    std::size_t at = HeaderBytes;
    for (; at < bytes.size() && bytes[at] != DescriptorsEnd; at += DescriptorBytes) {
        if (at + DescriptorBytes >= headerLength || at + DescriptorBytes > bytes.size() ||
            !SoundDescriptor(bytes.substr(at, DescriptorBytes)))
            return NotADBaseFileText;
        widths += static_cast<unsigned char>(bytes[at + 16]);
    }
    if (at == HeaderBytes || at >= bytes.size() || recordLength < widths)
        return NotADBaseFileText;
    return {};
}

void ReadDBaseData(Workspace& ws, std::string_view bytes) {
    if (const std::string refusal = DBaseFileRefusal(bytes); !refusal.empty()) {
        ShowNotice(ws, refusal);
        return;
    }
    const std::uint32_t records = GetLittle(bytes, 4, 4);
    const std::size_t headerLength = GetLittle(bytes, 8, 2);
    const std::size_t recordLength = GetLittle(bytes, 10, 2);
    const int c0 = ws.sheet.VariableCount();

    std::vector<Field> fields;
    std::size_t dataBytes = 1;
    for (std::size_t at = HeaderBytes; bytes[at] != DescriptorsEnd; at += DescriptorBytes) {
        Field field;
        field.width = static_cast<unsigned char>(bytes[at + 16]);
        if (bytes[at + 11] == 'N' || bytes[at + 11] == 'F')
            field.decimals = static_cast<unsigned char>(bytes[at + 17]);
        fields.push_back(field);
        dataBytes += static_cast<std::size_t>(field.width);
        const int col = c0 + static_cast<int>(fields.size());
        if (col <= SheetColumns) {
            const std::string_view area = bytes.substr(at, 11);
            PutSheetText(ws, CellTextFromFile(area.substr(0, area.find('\0'))), col, -1);
        }
    }
    // The fields that fit are read whole; the rest are left out.
    const std::size_t kept = std::min(fields.size(), static_cast<std::size_t>(SheetColumns - c0));

    const std::size_t first =
        std::max(headerLength, HeaderBytes + DescriptorBytes * fields.size() + 1);
    const std::size_t recordBytes = std::max(dataBytes, recordLength);
    int obs = 0;
    for (std::uint32_t r = 0; r < records; ++r) {
        const std::size_t at = first + recordBytes * r;
        if (at > bytes.size() || bytes.size() - at < recordBytes) {
            ShowNotice(ws, FileIncompleteText);
            return;
        }
        if (bytes[at] == '*')  // deleted
            continue;
        std::size_t pos = at + 1;
        for (std::size_t i = 0; i < kept; ++i) {
            const std::string_view field = bytes.substr(pos, fields[i].width);
            pos += static_cast<std::size_t>(fields[i].width);
            if (NullField(field))
                continue;
            const std::string text =
                Trim(WithImpliedPoint(Trim(CellTextFromFile(field)), fields[i].decimals));
            // A refusal means the sheet is full and has said so.
            if (!StoreReadText(ws, text, c0 + static_cast<int>(i) + 1, obs))
                return;
        }
        ++obs;
    }
    if (kept < fields.size())
        ShowNotice(ws, TooManyVariablesText(c0));
}

}  // namespace dalvex
