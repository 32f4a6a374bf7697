// Open and Save of the data sheet: the file dialog with its remembered types,
// the questions, the four formats, the data title and the sheet's caption.
#pragma once

#include <string>

#include "core/workspace.h"
#include "sheet/sheet_editor.h"

namespace dalvex {

inline constexpr const char* OpenDataFilter =
    "Файлы DALVEX (*.dvx)|*.dvx|Текстовые (*.txt)|*.txt|DBase-III (*.dbf)|*.dbf|Все (*.*)|*.*|";
inline constexpr const char* SaveDataFilter =
    "Файлы DALVEX (*.dvx)|*.dvx|Текстовые (*.txt)|*.txt|Табулирован.(*.tab)|*.tab|DBase-III "
    "(*.dbf)|*.dbf|";
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
