#include "toolpath/exchange/CsvWriter.h"

#include <array>
#include <vector>

#include "toolpath/element/ElementPath.h"
#include "toolpath/exchange/CsvColumns.h"
#include "toolpath/exchange/ExactText.h"

namespace {

std::string Header(const ElementPath& path) {
    std::string header;
    for (ElementColumnIndex column : CsvLayout(path.axisCount == 3)) {
        if (!header.empty()) header += ",";
        header += CsvHeading(column, UnitOf(path.columnUnits, column));
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
    std::array<std::int64_t, 3> position{};
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
