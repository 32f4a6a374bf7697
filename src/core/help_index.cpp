#include "core/help_index.h"

#include <algorithm>

#include "core/text.h"

namespace dalvex {

namespace {

// Alphabetical sort key of a lower-cased term: code point order, except that
// "ё" sorts right after "е" instead of after "я".
std::u32string CollationKey(std::string_view lowered) {
    std::u32string key;
    for (std::size_t pos = 0; pos < lowered.size();) {
        char32_t cp = 0;
        std::size_t len = DecodeUtf8(lowered, pos, cp);
        if (len == 0) {
            cp = static_cast<unsigned char>(lowered[pos]);
            len = 1;
        }
        key += cp == 0x0451 ? char32_t(0x0435 * 2 + 1) : char32_t(cp * 2);
        pos += len;
    }
    return key;
}

std::string TrimBlanks(std::string_view s) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t first = 0, last = s.size();
    while (first < last && isBlank(s[first]))
        ++first;
    while (last > first && isBlank(s[last - 1]))
        --last;
    return std::string(s.substr(first, last - first));
}

std::vector<std::string> SplitFields(std::string_view line, char separator) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = line.find(separator, start);
        fields.push_back(TrimBlanks(line.substr(start, end - start)));
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return fields;
}

// A non-negative context number of at most nine digits, or -1.
int ParseContext(const std::string& field) {
    if (field.empty() || field.size() > 9)
        return -1;
    int value = 0;
    for (char c : field) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The searchable terms of a topic: its title, then its keywords, each once.
std::vector<std::string> TermsOf(const HelpTopic& topic) {
    std::vector<std::string> terms;
    std::vector<std::string> seen;
    auto add = [&](const std::string& term) {
        std::string lowered = LowerCase(term);
        if (term.empty() || std::find(seen.begin(), seen.end(), lowered) != seen.end())
            return;
        seen.push_back(std::move(lowered));
        terms.push_back(term);
    };
    add(topic.title);
    for (const std::string& keyword : topic.keywords)
        add(keyword);
    return terms;
}

}  // namespace

HelpIndex HelpIndex::Parse(std::string_view text) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());

    HelpIndex index;
    int lineNumber = 0;
    for (const std::string& rawLine : SplitLines(text)) {
        ++lineNumber;
        const std::string line = TrimBlanks(rawLine);
        if (line.empty() || line.front() == '#')
            continue;

        const std::vector<std::string> fields = SplitFields(line, '|');
        const int context = fields.size() >= 3 ? ParseContext(fields[0]) : -1;
        if (fields.size() < 3 || fields.size() > 4 || context < 0 || fields[1].empty() ||
            fields[2].empty() || index.Find(context) != nullptr) {
            index.skippedLines_.push_back(lineNumber);
            continue;
        }
        HelpTopic topic{context, fields[1], fields[2], {}};
        if (fields.size() == 4) {
            for (std::string& keyword : SplitFields(fields[3], ','))
                if (!keyword.empty())
                    topic.keywords.push_back(std::move(keyword));
        }
        index.topics_.push_back(std::move(topic));
    }
    return index;
}

const HelpTopic* HelpIndex::Find(int context) const {
    for (const HelpTopic& topic : topics_)
        if (topic.context == context)
            return &topic;
    return nullptr;
}

const HelpTopic* HelpIndex::FindFile(std::string_view file) const {
    for (const HelpTopic& topic : topics_)
        if (topic.file == file)
            return &topic;
    return nullptr;
}

const HelpTopic* HelpIndex::ForContext(int context) const {
    if (const HelpTopic* topic = Find(context))
        return topic;
    if (const HelpTopic* contents = Find(help_context::Contents))
        return contents;
    return topics_.empty() ? nullptr : &topics_.front();
}

std::vector<HelpKeywordHit> HelpIndex::Search(std::string_view key) const {
    const std::string loweredKey = LowerCase(TrimBlanks(key));
    struct Entry {
        std::u32string sortKey;
        HelpKeywordHit hit;
    };
    std::vector<Entry> entries;
    for (const HelpTopic& topic : topics_) {
        for (std::string& term : TermsOf(topic)) {
            const std::string lowered = LowerCase(term);
            if (lowered.find(loweredKey) == std::string::npos)
                continue;
            entries.push_back({CollationKey(lowered), {std::move(term), &topic}});
        }
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.sortKey < b.sortKey; });
    std::vector<HelpKeywordHit> hits;
    hits.reserve(entries.size());
    for (Entry& entry : entries)
        hits.push_back(std::move(entry.hit));
    return hits;
}

}  // namespace dalvex
