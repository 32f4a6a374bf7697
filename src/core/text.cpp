#include "core/text.h"

#include <array>
#include <cstdint>

namespace dalvex {

namespace {

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Length in bytes of a well-formed UTF-8 sequence starting at `pos`, or 0 when
// the bytes there do not form one.
std::size_t SequenceLength(std::string_view s, std::size_t pos, char32_t* out) {
    const auto c = static_cast<unsigned char>(s[pos]);
    std::size_t len = 0;
    char32_t cp = 0;
    if (c < 0x80) {
        if (out)
            *out = c;
        return 1;
    } else if ((c & 0xE0) == 0xC0) {
        len = 2;
        cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        len = 3;
        cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        len = 4;
        cp = c & 0x07;
    } else {
        return 0;
    }
    if (pos + len > s.size())
        return 0;
    for (std::size_t i = 1; i < len; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + i]);
        if (!IsContinuation(b))
            return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    // Overlong forms and surrogates are malformed.
    if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) ||
        cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    if (out)
        *out = cp;
    return len;
}

// cp1251 bytes 0x80..0xFF as Unicode code points.
constexpr std::array<char16_t, 128> kCp1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039,
    0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408,
    0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB,
    0x0458, 0x0405, 0x0455, 0x0457, 0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423,
    0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B,
    0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F};

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::size_t DecodeUtf8(std::string_view text, std::size_t pos, char32_t& cp) {
    return SequenceLength(text, pos, &cp);
}

std::string LowerCase(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        char32_t cp = 0;
        const std::size_t len = SequenceLength(text, pos, &cp);
        if (len == 0) {
            out += text[pos++];
            continue;
        }
        if (cp >= U'A' && cp <= U'Z')
            cp += 0x20;
        else if (cp >= 0x0410 && cp <= 0x042F)
            cp += 0x20;  // А..Я
        else if (cp >= 0x0400 && cp <= 0x040F)
            cp += 0x50;  // Ѐ..Џ, Ё among them
        AppendUtf8(out, cp);
        pos += len;
    }
    return out;
}

std::size_t CharLength(std::string_view text) {
    std::size_t n = 0;
    for (unsigned char c : text)
        if (!IsContinuation(c))
            ++n;
    return n;
}

std::size_t ByteOffsetOfChar(std::string_view text, std::size_t charIndex) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsContinuation(static_cast<unsigned char>(text[i])))
            continue;
        if (seen == charIndex)
            return i;
        ++seen;
    }
    return text.size();
}

std::string CharCut(std::string_view text, std::size_t count) {
    return std::string(text.substr(0, ByteOffsetOfChar(text, count)));
}

std::string CharMid(std::string_view text, std::size_t first, std::size_t count) {
    const std::size_t from = ByteOffsetOfChar(text, first);
    const std::string_view rest = text.substr(from);
    return std::string(rest.substr(0, ByteOffsetOfChar(rest, count)));
}

std::string PadLeft(std::string_view text, int width) {
    const long fill = static_cast<long>(width) - static_cast<long>(CharLength(text));
    const long blanks = fill < 0 ? 0 : (fill > 25 ? 25 : fill);
    std::string out(static_cast<std::size_t>(blanks), ' ');
    out += text;
    return out;
}

std::string Trim(std::string_view text) {
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && text[b] == ' ')
        ++b;
    while (e > b && text[e - 1] == ' ')
        --e;
    return std::string(text.substr(b, e - b));
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || text[i] == '\r') {
            lines.emplace_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

std::string Utf8ToCp1251(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t cp = 0;
        std::size_t len = SequenceLength(utf8, i, &cp);
        if (len == 0) {
            out += '?';
            ++i;
            continue;
        }
        i += len;
        if (cp < 0x80) {
            out += static_cast<char>(cp);
            continue;
        }
        char mapped = '?';
        for (std::size_t k = 0; k < kCp1251High.size(); ++k) {
            if (kCp1251High[k] == cp && cp != 0xFFFD) {
                mapped = static_cast<char>(0x80 + k);
                break;
            }
        }
        out += mapped;
    }
    return out;
}

std::string Cp1251ToUtf8(std::string_view cp1251) {
    std::string out;
    out.reserve(cp1251.size() * 2);
    for (unsigned char c : cp1251) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            const char16_t cp = kCp1251High[c - 0x80];
            AppendUtf8(out, cp == 0xFFFD ? U'?' : cp);
        }
    }
    return out;
}

std::string DecodeTextFile(std::string_view bytes) {
    bool ascii = true;
    for (unsigned char c : bytes)
        if (c >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii)
        return std::string(bytes);
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t len = SequenceLength(bytes, i, nullptr);
        if (len == 0)
            return Cp1251ToUtf8(bytes);
        i += len;
    }
    return std::string(bytes);
}

std::string SanitizeUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t len = SequenceLength(text, i, nullptr);
        if (len == 0) {
            out += '?';
            ++i;
        } else {
            out.append(text.substr(i, len));
            i += len;
        }
    }
    return out;
}

}  // namespace dalvex
