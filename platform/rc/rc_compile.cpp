// vantrel_rc_compile SCRIPT.rc OUTPUT.cpp: compiles the dialog templates of a resource script
// into C++ source that registers them when its library is loaded.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "platform/rc/ResourceScript.h"

namespace {
// Writes beside the target and renames, so a failed run never leaves half a file.
bool WriteFile(const std::string& path, const std::string& text) {
    std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out.flush()) return false;
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    return !error;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: vantrel_rc_compile SCRIPT.rc OUTPUT.cpp\n";
        return 2;
    }
    try {
        ResourceScript script = ResourceScript::Load(argv[1]);
        std::string name = std::filesystem::path(argv[1]).filename().string();
        if (!WriteFile(argv[2], script.GenerateSource(name))) {
            std::cerr << argv[2] << ": cannot write the output file\n";
            return 1;
        }
    } catch (const std::exception& error) {
        std::cerr << error.what() << "\n";
        return 1;
    }
    return 0;
}
