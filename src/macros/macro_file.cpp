#include "macros/macro_file.h"

#include "core/settings.h"

namespace dalvex {

KeyRecord KeyPress(std::uint16_t key, std::uint8_t scanCode, bool alt) {
    std::uint32_t data = 1u | (static_cast<std::uint32_t>(scanCode) << 16);
    if (alt)
        data |= AltHeldBit;
    return {key, data};
}

bool RecordableKey(const KeyRecord& r) {
    if (r.key == vk::F4 && r.altPress())
        return true;
    if (!r.plainPress())
        return false;
    return r.key == vk::Backspace || r.key == vk::Tab || (r.key >= 13 && r.key <= 143) ||
           r.key == 188 || r.key == 190 || r.key == 219 || r.key == 221;
}

std::string MacroFilePath(const std::string& folder, int number) {
    return folder + "St" + std::to_string(number) + ".mc";
}

void AppendRecord(std::string& bytes, const KeyRecord& r) {
    bytes += static_cast<char>(r.key & 0xFF);
    bytes += static_cast<char>(r.key >> 8);
    for (int shift = 0; shift < 32; shift += 8)
        bytes += static_cast<char>((r.data >> shift) & 0xFF);
}

namespace {

KeyRecord RecordAt(const unsigned char* p) {
    KeyRecord r;
    r.key = static_cast<std::uint16_t>(p[0] | (p[1] << 8));
    r.data = static_cast<std::uint32_t>(p[2]) | (static_cast<std::uint32_t>(p[3]) << 8) |
             (static_cast<std::uint32_t>(p[4]) << 16) | (static_cast<std::uint32_t>(p[5]) << 24);
    return r;
}

}  // namespace

std::vector<KeyRecord> ParseRecords(const std::string& bytes, bool* cutShort) {
    std::vector<KeyRecord> records;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t at = 0;
    for (; at + MacroRecordBytes <= bytes.size(); at += MacroRecordBytes)
        records.push_back(RecordAt(p + at));
    if (cutShort)
        *cutShort = at != bytes.size();
    return records;
}

bool MacroFile::Create(const std::string& path) {
    Close();
    stream_.open(path, std::ios::binary | std::ios::out | std::ios::trunc);
    return stream_.is_open();
}

bool MacroFile::OpenForPlaying(const std::string& path) {
    Close();
    stream_.open(path, std::ios::binary | std::ios::in);
    return stream_.is_open();
}

void MacroFile::Close() {
    if (stream_.is_open())
        stream_.close();
    stream_.clear();
}

bool MacroFile::Append(const KeyRecord& record) {
    std::string bytes;
    AppendRecord(bytes, record);
    stream_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    stream_.flush();  // a recording is never lost to a crash later on
    return static_cast<bool>(stream_);
}

MacroFile::Read MacroFile::Next(KeyRecord& record) {
    unsigned char bytes[MacroRecordBytes];
    stream_.read(reinterpret_cast<char*>(bytes), MacroRecordBytes);
    const std::streamsize got = stream_.gcount();
    if (got == MacroRecordBytes) {
        record = RecordAt(bytes);
        return Read::Record;
    }
    return got == 0 ? Read::End : Read::CutShort;
}

void MacroFile::Rewind() {
    stream_.clear();
    stream_.seekg(0);
}

MacroNames ReadMacroNames(const std::string& folder) {
    MacroNames names;
    std::vector<std::string> lines;
    if (!ReadLinesFile(folder + MacroNamesFileName, lines).ok) {
        names.ok = false;
        return names;
    }
    for (int k = 0; k < MacroCount && k < static_cast<int>(lines.size()); ++k)
        names.names[k] = lines[k];
    if (lines.size() > static_cast<std::size_t>(MacroCount))
        names.repeatCount = lines[MacroCount];
    return names;
}

bool WriteMacroNames(const std::string& folder, const MacroNames& names) {
    std::vector<std::string> lines = names.names;
    lines.resize(MacroCount);
    lines.push_back(names.repeatCount);
    return WriteLinesFile(folder + MacroNamesFileName, lines).ok;
}

}  // namespace dalvex
