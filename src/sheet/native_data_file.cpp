#include "sheet/native_data_file.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "core/text.h"
#include "sheet/data_file_io.h"

namespace dalvex {

namespace {

constexpr std::size_t MaxRecordBytes = 255;

void PutRecord(std::string& out, const std::string& utf8) {
    std::string bytes = Utf8ToCp1251(utf8);
    if (bytes.size() > MaxRecordBytes)
        bytes.resize(MaxRecordBytes);
    out += static_cast<char>(bytes.size());
    out += bytes;
}

class RecordReader {
  public:
    explicit RecordReader(std::string_view bytes) : bytes_(bytes) {}

    // The next record's bytes; nothing when the file ends before it does.
    std::optional<std::string_view> Next() {
        if (pos_ >= bytes_.size())
            return std::nullopt;
        const std::size_t n = static_cast<unsigned char>(bytes_[pos_]);
        if (bytes_.size() - pos_ - 1 < n)
            return std::nullopt;
        const std::string_view record = bytes_.substr(pos_ + 1, n);
        pos_ += 1 + n;
        return record;
    }

  private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

// A count record: an optional sign and decimal digits, blanks around allowed.
std::optional<long> WholeNumber(std::string_view record) {
    const std::string text = Trim(record);
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+'))
        i = 1;
    if (i == text.size())
        return std::nullopt;
    long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9' || value > 100'000'000)
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

std::string NotWholeNumberText(std::string_view record) {
    return "!ОШИБКА В ФАЙЛЕ: \"" + CellTextFromFile(record) + "\" НЕ ЦЕЛОЕ ЧИСЛО!";
}

struct Header {
    std::string title;
    bool labels = false;
    std::vector<int> lengths;
};

// Title and counts; nothing, with the reason in `error`, when they are not
// sound or there are more than `room` variables.
std::optional<Header> ReadHeader(RecordReader& records, int room, std::string& error) {
    Header header;
    const auto title = records.Next();
    if (!title) {
        error = FileIncompleteText;
        return std::nullopt;
    }
    header.title = CellTextFromFile(*title);
    auto count = records.Next();
    for (int pass = 0; pass < 2; ++pass) {
        if (!count) {
            error = FileIncompleteText;
            return std::nullopt;
        }
        const auto n = WholeNumber(*count);
        if (!n) {
            error = NotWholeNumberText(*count);
            return std::nullopt;
        }
        if (*n >= 0) {
            if (*n > room) {
                error = FileTooLargeText;
                return std::nullopt;
            }
            header.lengths.resize(static_cast<std::size_t>(*n));
            break;
        }
        if (pass == 1) {  // a second negative count
            error = NotWholeNumberText(*count);
            return std::nullopt;
        }
        header.labels = true;
        count = records.Next();
    }
    for (int& length : header.lengths) {
        const auto record = records.Next();
        if (!record) {
            error = FileIncompleteText;
            return std::nullopt;
        }
        const auto n = WholeNumber(*record);
        if (!n || *n < 0) {
            error = NotWholeNumberText(*record);
            return std::nullopt;
        }
        if (*n > SheetRows) {
            error = FileTooLargeText;
            return std::nullopt;
        }
        length = static_cast<int>(*n);
    }
    return header;
}

}  // namespace

std::string WriteNativeData(const Workspace& ws, const std::string& title) {
    const SheetGrid& g = ws.sheet;
    const int n = g.VariableCount();
    std::string out;
    if (n == 0)
        return out;
    PutRecord(out, title);
    PutRecord(out, "-1");
    PutRecord(out, std::to_string(n));
    for (int c = 1; c <= n; ++c)
        PutRecord(out, std::to_string(g.ColumnLength(c)));
    for (int c = 1; c <= n; ++c)
        PutRecord(out, g.Cell(c, 0));
    for (int r = 1; r <= g.ColumnLength(1); ++r)
        PutRecord(out, g.Cell(0, r));
    for (int c = 1; c <= n; ++c)
        for (int r = 1; r <= g.ColumnLength(c); ++r)
            PutRecord(out, g.Cell(c, r));
    return out;
}

NativeReadResult ReadNativeData(Workspace& ws, std::string_view bytes) {
    NativeReadResult result;
    if (bytes.empty())  // what an empty sheet is saved as
        return result;
    RecordReader records(bytes);
    std::string error;
    SheetGrid& g = ws.sheet;
    const int c0 = g.VariableCount();
    const auto header = ReadHeader(records, SheetColumns - c0, error);
    if (!header) {
        ShowNotice(ws, error);
        return result;
    }
    result.headerRead = true;
    result.title = header->title;
    const int n = static_cast<int>(header->lengths.size());
    auto incomplete = [&] {
        ShowNotice(ws, FileIncompleteText);
        return result;
    };
    for (int k = 1; k <= n; ++k) {
        const auto name = records.Next();
        if (!name)
            return incomplete();
        g.SetCell(c0 + k, 0, CellTextFromFile(*name));
        g.SetVariableCount(std::max(g.VariableCount(), c0 + k));
    }
    if (header->labels && n > 0) {
        for (int r = 1; r <= header->lengths[0]; ++r) {
            const auto label = records.Next();
            if (!label)
                return incomplete();
            if (c0 == 0)
                StoreReadLabel(ws, CellTextFromFile(*label), r);
        }
    }
    for (int k = 1; k <= n; ++k) {
        for (int obs = 0; obs < header->lengths[k - 1]; ++obs) {
            const auto cell = records.Next();
            if (!cell)
                return incomplete();
            // A refusal means the sheet is full: every later value would be
            // refused as well, and the notice has been shown.
            if (!StoreReadText(ws, CellTextFromFile(*cell), c0 + k, obs))
                return result;
        }
    }
    return result;
}

std::string NativeFileRefusal(std::string_view bytes) {
    if (bytes.empty())
        return {};
    RecordReader records(bytes);
    std::string error;
    ReadHeader(records, SheetColumns, error);
    return error;
}

std::string NativeTitle(std::string_view firstBytes) {
    if (firstBytes.empty())
        return {};
    const std::size_t n = static_cast<unsigned char>(firstBytes[0]);
    return CellTextFromFile(firstBytes.substr(1, n));
}

}  // namespace dalvex
