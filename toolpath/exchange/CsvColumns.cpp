#include "toolpath/exchange/CsvColumns.h"

const std::vector<ElementColumnIndex>& CsvLayout(bool threeAxes) {
    static const std::vector<ElementColumnIndex> k3D = {kColumnX, kColumnY, kColumnZ,
                                                        kColumnAcceleration, kColumnSpeed};
    static const std::vector<ElementColumnIndex> k2D = {kColumnX, kColumnY, kColumnAcceleration,
                                                        kColumnSpeed};
    return threeAxes ? k3D : k2D;
}

std::string CsvHeading(std::size_t column, const std::string& unit) {
    const std::string name = kCsvColumnNames[column];
    return unit.empty() ? name : name + "[" + unit + "]";
}
