// Build-time generator of the text resources: reads the readable table and
// writes "Sth.ini" and the C++ source of the table compiled into the program.
//
//   make_sth <sth.txt> <Sth.ini> <sth_builtin.cpp>
//
// A malformed source stops the build with the line and the reason.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "sth_table.h"

namespace {

bool ReadFile(const char* path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream s;
    s << in.rdbuf();
    bytes = s.str();
    return !in.bad();
}

bool WriteFile(const char* path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    return !out.fail();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: make_sth <sth.txt> <Sth.ini> <sth_builtin.cpp>\n";
        return 2;
    }
    std::string text;
    if (!ReadFile(argv[1], text)) {
        std::cerr << argv[1] << ": cannot be read\n";
        return 1;
    }
    dalvex::SthSource source;
    std::string image;
    std::string error;
    if (!dalvex::ParseSthSource(text, source, error) ||
        !dalvex::BuildSthImage(source, image, error)) {
        std::cerr << argv[1] << ": " << error << "\n";
        return 1;
    }
    if (!WriteFile(argv[2], image)) {
        std::cerr << argv[2] << ": cannot be written\n";
        return 1;
    }
    if (!WriteFile(argv[3], dalvex::BuiltinSthSource(image))) {
        std::cerr << argv[3] << ": cannot be written\n";
        return 1;
    }
    return 0;
}
