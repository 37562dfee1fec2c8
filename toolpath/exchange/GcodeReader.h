// Reading CAM programs: G0 to G3 moves, planes, units and distance modes, feeds.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "toolpath/element/UnitConversion.h"
#include "toolpath/exchange/ImportedPath.h"

// A length, or a speed per minute, either in the program's units (which G20 and G21 choose) or
// fixed: millimetres, or mm/s for a speed.
struct ProgramQuantity {
    double value = 0.0;
    bool inProgramUnits = true;
};

struct GcodeOptions {
    ProgramQuantity tolerance{0.01, false};  // farthest a chord may lie from its arc
    double roundingAllowance = 0.0;          // mm that rounding the chord ends to counts may add
    std::optional<ProgramQuantity> rapid;    // speed of G0 moves; without it they keep the feed
    bool threeAxes = true;                   // false: Z words and arcs that move Z are refused
    // Words the user says are harmless in the program (--ignore): whole G numbers and axis
    // letters (A, B, C, U, V, W). They are left out with a warning.
    std::vector<int> ignoredG;
    std::string ignoredLetters;
    std::size_t maxSegments = kDefaultMaxSegments;  // the most moves, chords included
};

// Adds the comma-separated words of list ("G43,G28,A") to the options' ignored words; "" when
// each could be added, else what is wrong with the first that could not.
std::string AddIgnoredWords(std::string_view list, GcodeOptions& options);

// Reads a program into absolute end points in millimetres from the program's zero point, with
// speeds in mm/s on the moves where the speed changes. Words that do not change the path's shape
// (G40, G49, G54 as the only work system, G61, G64, G80, G94, G4, block delete) are left out,
// each with a warning. Anything it cannot follow exactly is refused: the whole file is read and
// the PathError names every refusal, "file:line:column: word: problem"; the column counts
// characters from 1, a tab as one, and is left out for a motion mode that an earlier line set.
ImportedPath ReadGcode(std::string_view text, const std::string& fileName,
                       const GcodeOptions& options);
