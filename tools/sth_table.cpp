#include "sth_table.h"

#include <charconv>
#include <cstdint>
#include <set>

#include "core/text.h"

namespace dalvex {

namespace {

constexpr int kTextChars = 79;
constexpr char kSeparator = '\0';

bool ParseInt(std::string_view field, int low, int high, int& value) {
    if (field.empty())
        return false;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    return ec == std::errc() && end == field.data() + field.size() && value >= low && value <= high;
}

// Empty when the line is fine, otherwise the reason.
std::string ParseLine(std::string_view line, SthSource& out, std::set<std::pair<int, int>>& seen) {
    const auto first = line.find('|');
    const auto second = first == std::string_view::npos ? first : line.find('|', first + 1);
    if (second == std::string_view::npos)
        return "expected group|entry|text";
    int group = 0;
    int entry = 0;
    if (!ParseInt(line.substr(0, first), 0, SthMaxGroup, group))
        return "group must be a number 0.." + std::to_string(SthMaxGroup);
    if (!ParseInt(line.substr(first + 1, second - first - 1), 1, SthMaxEntry, entry))
        return "entry must be a number 1.." + std::to_string(SthMaxEntry);
    const std::string text(line.substr(second + 1));
    if (!seen.insert({group, entry}).second)
        return "entry " + std::to_string(group) + "|" + std::to_string(entry) + " given twice";
    if (Cp1251ToUtf8(Utf8ToCp1251(text)) != text)
        return "text holds a character Windows Cyrillic cannot hold";
    const auto length = CharLength(text);
    if (length > static_cast<std::size_t>(kTextChars))
        return "text has " + std::to_string(length) + " characters, at most " +
               std::to_string(kTextChars) + " fit";
    auto& texts = out[group];
    if (texts.size() < static_cast<std::size_t>(entry))
        texts.resize(entry);
    texts[entry - 1] = text;
    return {};
}

void PutOffset(std::string& image, std::size_t at, std::size_t value) {
    image[at] = static_cast<char>(value & 0xFF);
    image[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

}  // namespace

bool ParseSthSource(std::string_view text, SthSource& out, std::string& error) {
    SthSource parsed;
    std::set<std::pair<int, int>> seen;
    int number = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        auto end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        const std::string reason = ParseLine(line, parsed, seen);
        if (!reason.empty()) {
            error = "line " + std::to_string(number) + ": " + reason;
            return false;
        }
    }
    out = std::move(parsed);
    return true;
}

bool BuildSthImage(const SthSource& source, std::string& image, std::string& error) {
    constexpr std::size_t kSharedEmptyEntry = 2;
    const int groups = source.empty() ? 1 : source.rbegin()->first + 1;
    std::vector<std::size_t> offsets(groups, kSharedEmptyEntry);

    std::string out(2, '\0');
    out += '\0';  // the shared empty entry: length 0 and its separator
    out += kSeparator;
    for (const auto& [group, texts] : source) {
        offsets[group] = out.size();
        for (const auto& text : texts) {
            const std::string bytes = Utf8ToCp1251(text);
            out += static_cast<char>(bytes.size());
            out += bytes;
            out += kSeparator;
        }
    }
    const std::size_t table = out.size();
    if (table > 0xFFFF) {
        error = "the texts take " + std::to_string(table) + " bytes, offsets reach 65535";
        return false;
    }
    PutOffset(out, 0, table);
    out.resize(table + 2 * offsets.size());
    for (std::size_t g = 0; g < offsets.size(); ++g)
        PutOffset(out, table + 2 * g, offsets[g]);
    image = std::move(out);
    return true;
}

std::string BuiltinSthSource(std::string_view image) {
    std::string s =
        "// Generated at build time from resources/sth/sth.txt by make_sth. Do not edit.\n"
        "#include \"output/sth_builtin.h\"\n\n"
        "namespace dalvex {\n\nnamespace {\n\nconstexpr unsigned char kImage[] = {";
    for (std::size_t i = 0; i < image.size(); ++i) {
        s += i % 16 == 0 ? "\n   " : "";
        s += " " + std::to_string(static_cast<unsigned char>(image[i])) + ",";
    }
    s += "\n};\n\n}  // namespace\n\n"
         "std::string_view BuiltinSthBytes() {\n"
         "    return {reinterpret_cast<const char*>(kImage), sizeof kImage};\n"
         "}\n\n}  // namespace dalvex\n";
    return s;
}

}  // namespace dalvex
