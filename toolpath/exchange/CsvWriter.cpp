#include "toolpath/exchange/CsvWriter.h"

#include <array>
#include <vector>

#include "toolpath/element/ElementPath.h"
#include "toolpath/exchange/CsvColumns.h"
#include "toolpath/exchange/ExactText.h"

namespace {

std::string Heading(CsvColumn column, const std::string& unit) {
    const char* name = kCsvColumnNames[column];
    return unit.empty() ? name : std::string(name) + "[" + unit + "]";
}

// The header names the columns the table has: x, y, z only on a 3D element.
std::string Header(const ElementPath& path) {
    std::string header;
    for (int column = kCsvX; column < kCsvColumnCount; ++column) {
        if (column == kCsvZ && path.axisCount != 3) continue;
        if (!header.empty()) header += ",";
        header += Heading(static_cast<CsvColumn>(column), UnitOf(path.columnUnits, column));
    }
    return header + "\n";
}

}  // namespace

std::string WriteCsv(const ElementPath& path, bool absolute) {
    const size_t axes = static_cast<size_t>(path.axisCount);
    const ColumnUnits& units = path.columnUnits;
    std::vector<CountTexts> positions;
    for (size_t axis = 0; axis < axes; ++axis)
        positions.emplace_back(ScaleToInternal(path.units, units.position[axis]), ReadAs{},
                               !absolute);
    RateTexts acceleration(ScaleToInternal(path.units, units.acceleration), ReadAs{});
    RateTexts speed(ScaleToInternal(path.units, units.speed), ReadAs{});

    std::string out = Header(path);
    // Positions of up to eight characters, rates mostly of one: an estimate that is too low
    // costs one regrowth.
    out.reserve(out.size() + path.segments.size() * (axes * 9 + 4));
    Counts position{};
    for (const PathSegment& segment : path.segments) {
        for (size_t axis = 0; axis < axes; ++axis) {
            position[axis] += segment.counts[axis];
            out += positions[axis].Next(position[axis]).View();
            out += ',';
        }
        out += acceleration.Of(segment.accelerationLiteral);
        out += ',';
        out += speed.Of(segment.speedLiteral);
        out += '\n';
    }
    return out;
}
