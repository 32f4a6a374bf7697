// The results window's text ("Результаты"): every method appends its report
// here. Qt-free: the view shows these lines and forwards the person's edits.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "core/workspace.h"

namespace dalvex {

// Characters the results text holds before the overflow rescue: about 180000
// full report lines, far beyond any session's reports.
inline constexpr std::size_t ResultsCapacityChars = 16'000'000;
inline constexpr std::size_t ResultsWrapChars = 90;

struct FileStatus {
    bool ok = true;
    std::string error;  // a Russian message naming the file and the system's reason
};

class TEditForm : public ReportSink {
  public:
    // Told about every change, so a view can follow without copying the text.
    class Listener {
      public:
        virtual ~Listener() = default;
        virtual void LinesAppended(std::size_t firstNewLine) = 0;
        virtual void TextReplaced() = 0;
    };

    explicit TEditForm(Workspace& ws, std::size_t capacityChars = ResultsCapacityChars);

    // Appends text as lines, wrapping every 101 characters or more into pieces of 90.
    void WriteResult(const std::string& text) override;

    const std::vector<std::string>& lines();
    // The lines as the model holds them, without first taking in the
    // person's pending edits (what a view shows them from).
    const std::vector<std::string>& shownLines() const { return lines_; }
    std::string Text();  // lines joined by '\n'
    bool modified() const { return modified_; }
    const std::string& caption() const { return caption_; }
    std::size_t chars() const { return chars_; }

    // Clear (F5): empties the text.
    void Clear();
    // The file's lines (cp1251, any line ends) replace the text; the caption
    // becomes the file name.
    FileStatus Open(const std::string& path);
    // The text is written as cp1251 lines with CR LF; the caption becomes the file name.
    FileStatus Save(const std::string& path);

    // The person edits the text in the window. The view reports that an edit
    // happened; the model pulls the text only when it needs it.
    void SetListener(Listener* listener) { listener_ = listener; }
    void SetUserTextSource(std::function<std::string()> source) { userText_ = std::move(source); }
    void NoteUserEdit() {
        userEdited_ = true;
        modified_ = true;
    }

    // Where the overflow rescue "REZ.txt" goes: the program's results folder.
    std::string RescuePath() const;

  private:
    void SyncUserEdits();
    void AppendLine(std::string line);
    bool RescueOverflow();
    void ReplaceLines(std::vector<std::string> lines);

    Workspace& ws_;
    std::size_t capacity_;
    std::vector<std::string> lines_;
    std::size_t chars_ = 0;  // characters of all lines plus one per line break
    bool modified_ = false;
    std::string caption_ = "Результаты";
    Listener* listener_ = nullptr;
    std::function<std::string()> userText_;
    bool userEdited_ = false;
};

}  // namespace dalvex
