// Reading tables of segments: a header naming the columns, or the editor's column order.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "toolpath/element/ColumnUnits.h"
#include "toolpath/exchange/ImportedPath.h"

class CMC_Units;

struct CsvOptions {
    bool absolute = false;  // positions rather than increments
    bool threeAxes = true;  // false: a z column is refused
    // The element's unit catalogue and column units: a header's units must convert into the
    // columns', and a column without a unit in the header is in the column's unit.
    const CMC_Units* units = nullptr;
    ColumnUnits columnUnits;
    std::size_t maxSegments = kDefaultMaxSegments;  // the most rows
};

// Reads a table whose delimiter (comma, semicolon, tab or blanks) is taken from its first line.
// An optional header names the columns x, y, z, accel, speed in any order, each with an
// optional unit in brackets; without one the columns are x, y, z (3D only), accel, speed, and
// the last two may be left out. Lines starting with # are comments. Throws PathError
// "file:line: column N (name): problem", and "file:line: problem" at the row past
// options.maxSegments.
ImportedPath ReadCsv(std::string_view text, const std::string& fileName, const CsvOptions& options);
