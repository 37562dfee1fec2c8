// The two forms a path travels in between Vantrel and other tools.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "base/CharClass.h"

enum class PathFormat { Gcode, Csv };

// What a file name's extension tells, whatever its case: .nc .ngc .gcode .gc .tap .cnc are G-code,
// .csv .tsv .txt are CSV; nothing for others.
inline std::optional<PathFormat> FormatOfFileName(const std::string& name) {
    std::string extension = std::filesystem::path(name).extension().string();
    for (char& c : extension) c = ToLower(c);
    for (const char* gcode : {".nc", ".ngc", ".gcode", ".gc", ".tap", ".cnc"})
        if (extension == gcode) return PathFormat::Gcode;
    for (const char* csv : {".csv", ".tsv", ".txt"})
        if (extension == csv) return PathFormat::Csv;
    return std::nullopt;
}
