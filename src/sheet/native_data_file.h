// The program's own data file (".dvx"): a sequence of records, each a length
// byte and that many bytes of Windows Cyrillic text. In order: the data
// title; "-1" (row labels follow); the variable count n; n lengths; n names;
// the row labels of the first variable's rows; then every variable's cells.
// No magic, no checksum, no end marker.
#pragma once

#include <string>
#include <string_view>

#include "core/workspace.h"

namespace dalvex {

// The file's bytes for the whole sheet, cells exactly as held. Texts are cut
// to the 255 bytes a record can announce. An empty sheet gives no bytes.
std::string WriteNativeData(const Workspace& ws, const std::string& title);

struct NativeReadResult {
    bool headerRead = false;  // the title and the counts were sound
    std::string title;
};

// Appends the file's variables after the last one in the sheet; the row
// labels are taken only into an empty sheet. An empty file holds nothing. A file that ends early, a
// count that is not a whole number, or counts beyond the sheet's limits end the read with a notice;
// what was read stays.
NativeReadResult ReadNativeData(Workspace& ws, std::string_view bytes);

// Why the bytes cannot be a native data file (a notice: its title or counts
// are not sound), or "" when they can. No bytes are an empty sheet's file.
std::string NativeFileRefusal(std::string_view bytes);

// The title a native file starts with, as the file dialog shows it: from
// the first record, or from as many bytes as the file has.
std::string NativeTitle(std::string_view firstBytes);

}  // namespace dalvex
