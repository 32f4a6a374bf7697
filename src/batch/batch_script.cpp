#include "batch/batch_script.h"

#include "core/text.h"

namespace dalvex {

std::vector<std::string> SplitWords(const std::string& line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        std::string word;
        if (line[i] == '"') {
            const std::size_t close = line.find('"', i + 1);
            const std::size_t end = close == std::string::npos ? line.size() : close;
            word = line.substr(i + 1, end - i - 1);
            i = end + 1;
        } else {
            const std::size_t end = line.find_first_of(" \t", i);
            word = line.substr(i, end == std::string::npos ? std::string::npos : end - i);
            i = end == std::string::npos ? line.size() : end;
        }
        words.push_back(std::move(word));
    }
    return words;
}

BatchScript BatchScript::FromText(const std::string& text) {
    BatchScript script;
    int number = 0;
    for (const std::string& raw : SplitLines(text)) {
        ++number;
        std::string line = raw;
        for (char& c : line)
            if (c == '\t')
                c = ' ';
        line = Trim(line);
        if (line.empty() || line.front() == '#')
            continue;
        script.lines_.push_back({number, line, SplitWords(line)});
    }
    return script;
}

std::string Where(const ScriptLine& line) {
    return "строка " + std::to_string(line.number) + " сценария «" + line.text + "»";
}

}  // namespace dalvex
