#include "core/run_notices.h"

#include <algorithm>

#include "core/workspace.h"

namespace dalvex {

void RunNotices::Begin() {
    shown_.clear();
    pending_.clear();
    named_.clear();
}

bool RunNotices::ShowOnce(Workspace& ws, const std::string& text) {
    if (!shown_.insert(text).second)
        return false;
    ShowNotice(ws, text);
    return true;
}

void RunNotices::Gather(const std::string& text, const std::string& name) {
    if (named_[text].count(name) > 0)
        return;
    auto it = std::find_if(pending_.begin(), pending_.end(),
                           [&](const auto& entry) { return entry.first == text; });
    if (it == pending_.end()) {
        pending_.push_back({text, {}});
        it = pending_.end() - 1;
    }
    if (std::find(it->second.begin(), it->second.end(), name) == it->second.end())
        it->second.push_back(name);
}

void RunNotices::Flush(Workspace& ws) {
    // Taken first: the notice may be answered by a script that fails, and a
    // later flush must not show it again.
    auto pending = std::move(pending_);
    pending_.clear();
    for (const auto& [text, names] : pending) {
        for (const std::string& name : names)
            named_[text].insert(name);
        if (!names.empty())
            ShowNotice(ws, Naming(text, names));
    }
}

std::string RunNotices::Naming(const std::string& text, const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& name : names)
        list += (list.empty() ? "" : ", ") + name;
    return text + "\r\n(" + list + ")";
}

}  // namespace dalvex
