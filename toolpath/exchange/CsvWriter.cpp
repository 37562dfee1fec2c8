#include "toolpath/exchange/CsvWriter.h"

#include <array>
#include <vector>

#include "toolpath/element/ElementPath.h"
#include "toolpath/exchange/CsvColumns.h"
#include "toolpath/exchange/ExactText.h"

namespace {

std::string Heading(const char* name, const ColumnUnit& unit) {
    return unit.name.empty() ? name : std::string(name) + "[" + unit.name + "]";
}

std::string Rate(double stored, const CountScale& scale) {
    return stored == 0.0 ? "0" : RateText(stored, scale, ReadAs{});
}

}  // namespace

std::string WriteCsv(const ElementPath& path, bool absolute) {
    const size_t axes = static_cast<size_t>(path.axisCount);
    std::string out;
    std::vector<CountTexts> positions;
    for (size_t axis = 0; axis < axes; ++axis) {
        const ColumnUnit& unit = path.positionUnits[axis];
        out += Heading(kCsvColumnNames[kCsvX + axis], unit) + ",";
        positions.emplace_back(ScaleToInternal(path.units, unit.name), ReadAs{}, !absolute);
    }
    out += Heading(kCsvColumnNames[kCsvAcceleration], path.accelerationUnit) + "," +
           Heading(kCsvColumnNames[kCsvSpeed], path.speedUnit) + "\n";
    const CountScale acceleration = ScaleToInternal(path.units, path.accelerationUnit.name);
    const CountScale speed = ScaleToInternal(path.units, path.speedUnit.name);

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
