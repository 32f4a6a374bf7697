// The person at the screen played by a seeded generator: every question and
// dialog gets a random but well-formed answer (a button the form has, any
// texts in its fields, variables the dialog offers in any order, yes or no,
// a file or none, a graph kept or discarded). The answers are the scripted
// interpreter's own typed answers, each also written as the line of a
// dalvex-batch script that gives the same answer, so a run can be replayed.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/user_dialogs.h"

namespace dalvex {

class RandomDialogs : public ScriptedDialogs {
  public:
    // Files the answers name are written into `folder`; after `budget`
    // answers the dialogs stop answering (a method that asks without end).
    RandomDialogs(std::uint64_t seed, std::string folder, int budget = 300);

    FormAnswer Form(const FormDialog& form) override;
    FileChoice ChooseFile(const FileRequest& request) override;
    bool GraphPrompt(bool offerDiscard) override;
    void Variables(VariableDialog& dialog) override;
    void FieldRefused(const std::string& label, const std::string& notice) override;
    bool fieldRefused() const { return fieldRefused_; }

    // The script lines of the answers given so far, in order.
    const std::vector<std::string>& lines() const { return lines_; }
    // Files an answer chose and their contents, by name in the folder.
    const std::map<std::string, std::string>& files() const { return files_; }
    bool budgetSpent() const { return budgetSpent_; }
    // Told after each answer is given.
    std::function<void()> answered;

    // A number below `n` (n > 0) from the generator.
    int Below(int n);

  protected:
    std::optional<ScriptedAnswer> Refill(DialogKind kind, const AskedDialog& asked,
                                         std::optional<VariableDialogKind> variableKind,
                                         std::string& whyNone) override;

  private:
    ScriptedAnswer FormAnswerFor(const FormDialog& form, std::string& line);
    ScriptedAnswer VariablesAnswerFor(const VariableDialog& dialog, std::string& line);
    ScriptedAnswer FileAnswerFor(const FileRequest& request, std::string& line);
    std::string FieldText(const FormField& field);
    bool Chance(int percent) { return Below(100) < percent; }

    std::mt19937_64 rng_;
    std::string folder_;
    int budget_;
    std::map<std::string, int> formsShown_;  // by caption
    bool budgetSpent_ = false;
    bool fieldRefused_ = false;
    std::vector<std::string> lines_;
    std::map<std::string, std::string> files_;
    // The dialog now asking, for the answer Refill makes.
    const FormDialog* form_ = nullptr;
    const VariableDialog* variables_ = nullptr;
    FileRequest file_;
    bool offerDiscard_ = true;
};

// A word of a script line: quoted when it is empty or holds a blank.
std::string ScriptWord(const std::string& word);

}  // namespace dalvex
