// Notices of one command run that must not turn into a storm of boxes: a
// text shown once however often the run meets it, and the variables a method
// cannot use gathered under one notice that names them all.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace dalvex {

struct Workspace;

class RunNotices {
  public:
    // A new run: nothing shown or gathered yet.
    void Begin();

    // Shows `text` unless this run has already shown it; returns whether it
    // was shown now.
    bool ShowOnce(Workspace& ws, const std::string& text);

    // Notes that variable `name` falls under the notice `text`.
    void Gather(const std::string& text, const std::string& name);
    // Shows each gathered notice with the names not yet shown under it: the
    // text, then the names in the order met. A variable named once is not
    // named again by a later table of the same run.
    void Flush(Workspace& ws);

    // The notice text that names `names`.
    static std::string Naming(const std::string& text, const std::vector<std::string>& names);

  private:
    std::set<std::string> shown_;
    // Notices in the order first met, each with its names.
    std::vector<std::pair<std::string, std::vector<std::string>>> pending_;
    std::map<std::string, std::set<std::string>> named_;
};

}  // namespace dalvex
