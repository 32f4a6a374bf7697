#include "output/results_text.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "core/system_error.h"
#include "core/text.h"

namespace dalvex {

namespace {

const char kOverflowNotice[] =
    "Переполнение окна результатов!  Содержимое окна сохранено в текстовом файле REZ.TXT";

std::string FileName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Joined(const std::vector<std::string>& lines, const char* end) {
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out += lines[i];
        if (i + 1 < lines.size() || std::strcmp(end, "\r\n") == 0)
            out += end;
    }
    return out;
}

FileStatus WriteCp1251(const std::string& path, const std::vector<std::string>& lines) {
    const std::string bytes = Utf8ToCp1251(Joined(lines, "\r\n"));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out)
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (out)
        out.flush();
    if (!out)
        return {false, "Не удалось записать файл " + path + ": " + SystemErrorText(errno)};
    return {};
}

}  // namespace

TEditForm::TEditForm(Workspace& ws, std::size_t capacityChars)
    : ws_(ws), capacity_(capacityChars) {}

void TEditForm::SyncUserEdits() {
    if (!userEdited_ || !userText_)
        return;
    userEdited_ = false;
    std::vector<std::string> lines;
    const std::string text = userText_();
    // The text control's lines: a final line break leaves an empty last line.
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\n') {
            lines.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    if (lines.size() == 1 && lines[0].empty())
        lines.clear();
    lines_ = std::move(lines);
    chars_ = 0;
    for (const auto& l : lines_)
        chars_ += CharLength(l) + 1;
}

const std::vector<std::string>& TEditForm::lines() {
    SyncUserEdits();
    return lines_;
}

std::string TEditForm::Text() {
    SyncUserEdits();
    return Joined(lines_, "\n");
}

std::string TEditForm::RescuePath() const {
    return ws_.ProgramFolder + "REZ.txt";
}

// The window is full: its text goes to "REZ.txt" and the window starts anew.
// The text is emptied only once the file is safely written.
bool TEditForm::RescueOverflow() {
    ShowNotice(ws_, kOverflowNotice);
    const FileStatus saved = WriteCp1251(RescuePath(), lines_);
    if (!saved.ok) {
        ShowNotice(ws_, saved.error);
        return false;
    }
    ReplaceLines({});
    modified_ = false;
    return true;
}

void TEditForm::AppendLine(std::string line) {
    const std::size_t length = CharLength(line) + 1;
    // When the rescue file cannot be written the text grows past the limit
    // rather than lose the line.
    if (chars_ + length > capacity_ && !lines_.empty())
        RescueOverflow();
    chars_ += length;
    lines_.push_back(std::move(line));
    if (listener_)
        listener_->LinesAppended(lines_.size() - 1);
}

void TEditForm::WriteResult(const std::string& text) {
    SyncUserEdits();
    std::string rest = SanitizeUtf8(text);
    while (CharLength(rest) >= 101) {
        const std::size_t cut = ByteOffsetOfChar(rest, ResultsWrapChars);
        AppendLine(rest.substr(0, cut));
        rest.erase(0, cut);
    }
    AppendLine(std::move(rest));
    modified_ = true;
}

void TEditForm::ReplaceLines(std::vector<std::string> lines) {
    userEdited_ = false;
    lines_ = std::move(lines);
    chars_ = 0;
    for (const auto& l : lines_)
        chars_ += CharLength(l) + 1;
    if (listener_)
        listener_->TextReplaced();
}

void TEditForm::Clear() {
    ReplaceLines({});
}

FileStatus TEditForm::Open(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {false, "Не удалось открыть файл " + path + ": " + SystemErrorText(errno)};
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad())
        return {false, "Не удалось прочитать файл " + path + ": " + SystemErrorText(errno)};
    ReplaceLines(SplitLines(DecodeTextFile(bytes.str())));
    caption_ = FileName(path);
    modified_ = false;
    return {};
}

FileStatus TEditForm::Save(const std::string& path) {
    SyncUserEdits();
    FileStatus status = WriteCp1251(path, lines_);
    if (!status.ok)
        return status;
    caption_ = FileName(path);
    modified_ = false;
    return {};
}

}  // namespace dalvex
