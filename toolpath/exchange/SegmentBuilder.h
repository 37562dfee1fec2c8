// Fitting an imported path to an element's columns: whole counts, stored speeds.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "toolpath/element/ElementPath.h"
#include "toolpath/element/UnitConversion.h"
#include "toolpath/exchange/ImportedPath.h"

// How the path's units convert into the element's internal units.
struct PathScales {
    std::array<CountScale, 3> position;
    CountScale speed;
    CountScale acceleration;
};

struct BuiltSegments {
    std::vector<PathSegment> segments;
    std::size_t merged = 0;  // moves shorter than a count, joined to the next
};

// One segment per move that reaches another whole count; a shorter move is joined to the next,
// which takes its speed and acceleration unless it sets its own. Throws PathError
// "file:line: problem" for a position, segment, speed or acceleration the columns cannot hold,
// and when no segment is left.
BuiltSegments BuildSegments(const ImportedPath& path, const PathScales& scales,
                            const std::string& fileName);

// value (in unit, converted by scale) as the speed and acceleration columns store it. Throws
// PathError "where: problem" when it is above their range or would store as 0.
double StoredRate(double value, const CountScale& scale, const std::string& unit,
                  const std::string& where);
