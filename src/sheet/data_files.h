// Open and Save of the data sheet: the file dialog with its remembered types,
// the questions, the four formats, the data title and the sheet's caption.
#pragma once

#include <string>

#include "core/workspace.h"
#include "sheet/data_file_io.h"
#include "sheet/sheet_editor.h"

namespace dalvex {

inline constexpr const char* OpenDataFilter =
    "Файлы DALVEX (*.dvx)|*.dvx|Текстовые (*.txt)|*.txt|DBase-III (*.dbf)|*.dbf|CSV "
    "(*.csv)|*.csv|Все (*.*)|*.*|";
// The types after the first four choose the encoding of a text file too.
inline constexpr const char* SaveDataFilter =
    "Файлы DALVEX (*.dvx)|*.dvx|Текстовые (*.txt)|*.txt|Табулирован.(*.tab)|*.tab|DBase-III "
    "(*.dbf)|*.dbf|CSV (*.csv)|*.csv|Текстовые UTF-8 (*.txt)|*.txt|Табулирован. UTF-8 "
    "(*.tab)|*.tab|CSV Windows-1251 (*.csv)|*.csv|";

// The encoding a text file gets by default: Windows Cyrillic for the text
// formats, as the program has always written them, UTF-8 for CSV files,
// which go to spreadsheets and R.
TextEncoding DefaultEncoding(DataFormat format);
// The encoding the type chosen in the save dialog asks for, or the default
// of the file's format.
TextEncoding SaveEncoding(int filterIndex, DataFormat format);
inline constexpr const char* ClearSheetQuestion = "Очистить электронную таблицу?";
inline constexpr const char* OverwriteQuestion = "Файл существует, перезаписать?";
inline constexpr const char* EmptySheetNotice = "!ЭЛЕКТРОННАЯ ТАБЛИЦА ПУСТА - ФАЙЛ НЕ ЗАПИСАН!";
inline constexpr const char* SheetCaption = "Таблица данных";

class SheetFiles {
  public:
    SheetFiles(Workspace& ws, TSht1& sheet) : ws_(ws), sheet_(sheet) {}

    // F3 in the sheet: the dialog, the clear question, then the file is read
    // by its type. Returns whether a file was read.
    bool Open();
    // F4 in the sheet: the dialog (the title editable for native files), the
    // overwrite question, then the file is written by its type. Returns
    // whether it was written.
    bool Save();

    // The reading and writing the commands do once the questions are over.
    // `sheetWasEmpty`: the data read start a new data set (the title then
    // comes from the file, or is empty for formats without one).
    bool Read(const std::string& path, bool sheetWasEmpty);
    bool Write(const std::string& path, const std::string& title);
    // The same with a chosen encoding for the text formats (ignored by the
    // native and dBase formats).
    bool Write(const std::string& path, const std::string& title, TextEncoding encoding);

    // F5 in the sheet: the sheet is emptied and no longer comes from a file,
    // so the caption and the reports' "Файл: " name none.
    void Clear();

    // "Данные: " + file name + " - " + DataTitle once a file was read or
    // written, "Таблица данных" before.
    std::string Caption() const;
    const std::string& DataTitle() const { return title_; }
    const std::string& fileName() const { return fileName_; }
    int readChoice() const { return readChoice_; }
    int writeChoice() const { return writeChoice_; }

  private:
    bool ReadAndCheck(const std::string& path, std::string& bytes);
    void TakeIn(const std::string& path, const std::string& bytes, bool sheetWasEmpty);

    Workspace& ws_;
    TSht1& sheet_;
    std::string title_;
    std::string fileName_;
    int readChoice_ = 0;
    int writeChoice_ = 0;
};

}  // namespace dalvex
