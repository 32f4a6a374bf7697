// A batch script: plain-text lines of words. "#" starts a comment line;
// a word in double quotes may hold blanks ("Мои данные.txt").
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "core/user_dialogs.h"

namespace dalvex {

struct ScriptLine {
    int number = 0;    // 1-based line number in the file
    std::string text;  // as written, trimmed
    std::vector<std::string> words;
};

// A script that does not fit what the program asks. It is a ScriptMismatch,
// so a method run passes it on instead of reporting it as its own fault.
class BatchScriptError : public ScriptMismatch {
  public:
    using ScriptMismatch::ScriptMismatch;
};

// Splits one line into words; an unclosed quote runs to the line's end.
std::vector<std::string> SplitWords(const std::string& line);

class BatchScript {
  public:
    // The lines of a script text (comment and empty lines left out).
    static BatchScript FromText(const std::string& text);

    bool atEnd() const { return next_ >= lines_.size(); }
    const ScriptLine& Peek() const { return lines_.at(next_); }
    const ScriptLine& Take() { return lines_.at(next_++); }

  private:
    std::vector<ScriptLine> lines_;
    std::size_t next_ = 0;
};

// "строка 5 сценария «variables 9»"
std::string Where(const ScriptLine& line);

}  // namespace dalvex
