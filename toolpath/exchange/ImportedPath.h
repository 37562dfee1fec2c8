// A path read from a CAM program or a table, before it is fitted to an element's counts.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/Geometry.h"
#include "toolpath/element/ColumnUnits.h"

// The most segments one import makes unless told otherwise: arcs split into chords make many
// segments from a short program, and the bound stops a mistyped one before it fills the memory.
inline constexpr std::size_t kDefaultMaxSegments = 2000000;

// Why a reader stops at the move past max segments.
inline std::string TooManySegments(std::size_t max) {
    return "the import would make more than " + std::to_string(max) +
           " segments; give --max-segments N to allow more";
}

// One move: where it ends and what it sets. Zero speed or acceleration keeps what was before.
struct PathMove {
    Vec3 end{};  // absolute end point on X, Y, Z, in the path's position units
    double speed = 0.0;
    double acceleration = 0.0;
    std::uint32_t line = 0;  // source line, for messages
};

// What a reader saw, for the summary line.
struct ReadCounts {
    std::size_t lines = 0;
    std::size_t arcs = 0;
    std::size_t chords = 0;
    std::size_t wordsIgnored = 0;
    std::size_t wordsWithWarnings = 0;  // left out with a warning: no effect on the path's shape
};

// The moves from the program's zero point, with the units their numbers are in.
struct ImportedPath {
    ColumnUnits units{{"mm", "mm", "mm"}, "mm/s", "m/s^2"};
    std::vector<PathMove> moves;
    ReadCounts counts;
    std::vector<std::string> warnings;
};
