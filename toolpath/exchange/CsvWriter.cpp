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

std::string Rate(double stored, const CountScale& scale) {
    return stored == 0.0 ? "0" : RateText(stored, scale, ReadAs{});
}

}  // namespace

std::string WriteCsv(const ElementPath& path, bool absolute) {
    const size_t axes = static_cast<size_t>(path.axisCount);
    const ColumnUnits& units = path.columnUnits;
    std::vector<CountTexts> positions;
    for (size_t axis = 0; axis < axes; ++axis)
        positions.emplace_back(ScaleToInternal(path.units, units.position[axis]), ReadAs{},
                               !absolute);
    const CountScale acceleration = ScaleToInternal(path.units, units.acceleration);
    const CountScale speed = ScaleToInternal(path.units, units.speed);

    std::string out = Header(path);
    Counts position{};
    for (const PathSegment& segment : path.segments) {
        for (size_t axis = 0; axis < axes; ++axis) {
            position[axis] += segment.counts[axis];
            out += positions[axis].Next(position[axis]) + ",";
        }
        out += Rate(segment.accelerationLiteral, acceleration) + "," +
               Rate(segment.speedLiteral, speed) + "\n";
    }
    return out;
}
