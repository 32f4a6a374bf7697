#include "sheet/data_files.h"

#include <filesystem>
#include <iterator>
#include <optional>

#include "sheet/csv_data_file.h"
#include "sheet/data_file_io.h"
#include "sheet/dbase_data_file.h"
#include "sheet/file_dialog_model.h"
#include "sheet/native_data_file.h"
#include "sheet/text_data_file.h"

namespace dalvex {

namespace {

// By the position of the type in SaveDataFilter; none: the format's default.
constexpr std::optional<TextEncoding> SaveTypeEncodings[] = {
    std::nullopt, std::nullopt,       std::nullopt,       std::nullopt,
    std::nullopt, TextEncoding::Utf8, TextEncoding::Utf8, TextEncoding::Cp1251,
};

}  // namespace

TextEncoding DefaultEncoding(DataFormat format) {
    return format == DataFormat::Csv ? TextEncoding::Utf8 : TextEncoding::Cp1251;
}

TextEncoding SaveEncoding(int filterIndex, DataFormat format) {
    if (filterIndex >= 0 && filterIndex < static_cast<int>(std::size(SaveTypeEncodings)) &&
        SaveTypeEncodings[filterIndex])
        return *SaveTypeEncodings[filterIndex];
    return DefaultEncoding(format);
}

bool SheetFiles::Open() {
    FileRequest request;
    request.mode = 0;
    request.filter = OpenDataFilter;
    request.filterIndex = readChoice_;
    const FileChoice choice = AskForFile(ws_, request);
    if (!choice.chosen)
        return false;
    readChoice_ = choice.filterIndex;
    // The file is read before the sheet is cleared, so a file that cannot be
    // read costs nothing.
    std::string bytes;
    if (!ReadAndCheck(choice.path, bytes))
        return false;
    bool empty = ws_.sheet.VariableCount() == 0;
    if (!empty && AskYesNo(ws_, ClearSheetQuestion)) {
        sheet_.ShtFre();
        empty = true;
    }
    TakeIn(choice.path, bytes, empty);
    return true;
}

bool SheetFiles::Read(const std::string& path, bool sheetWasEmpty) {
    std::string bytes;
    if (!ReadAndCheck(path, bytes))
        return false;
    TakeIn(path, bytes, sheetWasEmpty);
    return true;
}

// A file that cannot be read, or is not what its name says, is refused
// before the sheet is asked about or touched.
bool SheetFiles::ReadAndCheck(const std::string& path, std::string& bytes) {
    const FileOutcome read = ReadWholeFile(path, bytes);
    if (!read.ok) {
        ShowNotice(ws_, read.error);
        return false;
    }
    std::string refusal;
    switch (ReadFormatOf(path)) {
        case DataFormat::Native:
            refusal = NativeFileRefusal(bytes);
            break;
        case DataFormat::DBase:
            refusal = DBaseFileRefusal(bytes);
            break;
        default:
            refusal = TextFileRefusal(bytes);
            break;
    }
    if (refusal.empty())
        return true;
    ShowNotice(ws_, refusal);
    return false;
}

void SheetFiles::Clear() {
    sheet_.ShtFre();
    fileName_.clear();
    title_.clear();
}

void SheetFiles::TakeIn(const std::string& path, const std::string& bytes, bool sheetWasEmpty) {
    fileName_ = FileNameOf(path);
    switch (ReadFormatOf(path)) {
        case DataFormat::Native: {
            const NativeReadResult result = ReadNativeData(ws_, bytes);
            if (result.headerRead)
                title_ = result.title;
            return;
        }
        case DataFormat::DBase:
            ReadDBaseData(ws_, bytes);
            break;
        case DataFormat::Csv:
            ReadCsvData(ws_, bytes);
            break;
        default:
            ReadTextData(ws_, bytes);
            break;
    }
    // The other formats carry no title; a new data set from them has none.
    if (sheetWasEmpty)
        title_.clear();
}

bool SheetFiles::Save() {
    FileRequest request;
    request.mode = 1;
    request.filter = SaveDataFilter;
    request.defaultName = fileName_;
    request.comment = title_;
    request.filterIndex = writeChoice_;
    const FileChoice choice = AskForFile(ws_, request);
    if (!choice.chosen)
        return false;
    writeChoice_ = choice.filterIndex;
    std::error_code ec;
    const bool exists = std::filesystem::exists(choice.path, ec);
    if (exists && ws_.sheet.VariableCount() == 0) {
        ShowNotice(ws_, EmptySheetNotice);
        return false;
    }
    if (exists && !AskYesNo(ws_, OverwriteQuestion))
        return false;
    // Only a native file keeps a title: the comment becomes the data title
    // for it alone.
    const DataFormat format = WriteFormatOf(choice.path);
    const bool native = format == DataFormat::Native;
    return Write(choice.path, native ? choice.comment : title_,
                 SaveEncoding(choice.filterIndex, format));
}

bool SheetFiles::Write(const std::string& path, const std::string& title) {
    return Write(path, title, DefaultEncoding(WriteFormatOf(path)));
}

bool SheetFiles::Write(const std::string& path, const std::string& title, TextEncoding encoding) {
    std::string bytes;
    switch (WriteFormatOf(path)) {
        case DataFormat::Native:
            bytes = WriteNativeData(ws_, title);
            break;
        case DataFormat::DBase:
            bytes = WriteDBaseData(ws_);
            break;
        case DataFormat::Csv:
            bytes = WriteCsvData(ws_, encoding);
            break;
        case DataFormat::Tab:
            bytes = WriteTextData(ws_, '\t', encoding);
            break;
        default:
            bytes = WriteTextData(ws_, ' ', encoding);
            break;
    }
    const FileOutcome written = ReplaceFile(path, bytes);
    if (!written.ok) {
        ShowNotice(ws_, written.error);
        return false;
    }
    fileName_ = FileNameOf(path);
    title_ = title;
    return true;
}

std::string SheetFiles::Caption() const {
    if (fileName_.empty())
        return SheetCaption;
    return "Данные: " + fileName_ + " - " + title_;
}

}  // namespace dalvex
