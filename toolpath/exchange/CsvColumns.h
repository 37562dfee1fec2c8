// The columns of a table of segments, for its reader and its writer alike: the element's
// columns in the element's order, named in a header with their units in brackets.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "host/ElementColumns.h"

inline constexpr std::array<const char*, kElementColumnCount> kCsvColumnNames = {"x", "y", "z",
                                                                                 "accel", "speed"};

// The columns of a table without a header, in the editor's order; a 2D table has no z.
const std::vector<ElementColumnIndex>& CsvLayout(bool threeAxes);

// The header field of column: its name, with the unit in brackets unless that is "".
std::string CsvHeading(std::size_t column, const std::string& unit);
