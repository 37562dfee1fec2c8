// Reading CAM programs: G0 to G3 moves, planes, units and distance modes, feeds.
#pragma once

#include <optional>
#include <string>
#include <string_view>

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
};

// Reads a program into absolute end points in millimetres from the program's zero point, with
// speeds in mm/s on the moves where the speed changes. Throws PathError "file:line:column:
// word: problem" for anything it cannot follow exactly; the column counts characters from 1, a
// tab as one, and is left out for a motion mode that an earlier line set.
ImportedPath ReadGcode(std::string_view text, const std::string& fileName,
                       const GcodeOptions& options);
