// The person at the screen, as computations see them. Computations never open
// windows; they ask through this interface. The Qt program answers with real
// modal dialogs, tests and the batch runner with a script.
#pragma once

#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

namespace dalvex {

class UserDialogs {
  public:
    virtual ~UserDialogs() = default;
    // A message with one OK button.
    virtual void Notice(const std::string& text) = 0;
    // A Yes/No question; true for Yes.
    virtual bool YesNo(const std::string& text) = 0;
};

// Raised when a script does not hold the answer to the question asked.
class ScriptMismatch : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Answers taken in order from a script; every notice and question is recorded.
class ScriptedDialogs : public UserDialogs {
  public:
    // Expects a Yes/No question whose text contains `textPart` (empty matches any).
    ScriptedDialogs& ExpectYesNo(std::string textPart, bool answer);

    void Notice(const std::string& text) override;
    bool YesNo(const std::string& text) override;

    const std::vector<std::string>& notices() const { return notices_; }
    const std::vector<std::string>& questions() const { return questions_; }
    bool scriptDone() const { return script_.empty(); }
    void ClearLog();

  private:
    struct Step {
        std::string textPart;
        bool answer;
    };
    std::deque<Step> script_;
    std::vector<std::string> notices_;
    std::vector<std::string> questions_;
};

}  // namespace dalvex
