#include "toolpath/element/UnitConversion.h"

#include "base/EscapedText.h"
#include "host/CMC_Units.h"
#include "toolpath/element/ColumnUnits.h"
#include "toolpath/element/PathError.h"

namespace {

double FactorInBase(const CMC_Units& units, UnitQuantity quantity) {
    const CMC_Unit* internal = units.FindUnit(CMC_Units::InternalUnitName(quantity));
    return internal ? internal->GetFactorInBase() : 0.0;
}

void SetBase(const CMC_Units& units, ColumnScales& scales) {
    const CMC_Unit* base = units.FindBaseUnit(CMC_Units::InternalUnitName(UnitQuantity::Position));
    if (!base) return;
    scales.baseLengthUnit = base->GetUnitName().str();
    const double length = FactorInBase(units, UnitQuantity::Position);
    for (InternalScale& position : scales.position) position.basePerInternal = length;
    scales.speed.basePerInternal = FactorInBase(units, UnitQuantity::Speed);
    scales.acceleration.basePerInternal = FactorInBase(units, UnitQuantity::Acceleration);
}

}  // namespace

CountScale ScaleToInternal(const CMC_Units& units, const std::string& unit) {
    CountScale scale;
    if (unit.empty()) return scale;
    const CString internal = CMC_Units::GetIUOfUnit(unit.c_str());
    if (!units.ConversionFactors(unit.c_str(), internal, scale.from, scale.to))
        throw PathError("the unit " + Quoted(unit) + " does not convert into the element's axes");
    return scale;
}

double PerInternal(const CMC_Units& units, const std::string& unit) {
    if (unit.empty()) return 1.0;
    double numerator = 1.0;
    double denominator = 1.0;
    if (!units.ConversionFactors(CMC_Units::GetIUOfUnit(unit.c_str()), unit.c_str(), numerator,
                                 denominator))
        return 1.0;
    return numerator / denominator;
}

ColumnScales ScalesOf(const CMC_Units& units, const ColumnUnits& names, bool base) {
    ColumnScales scales;
    for (size_t axis = 0; axis < names.position.size(); ++axis)
        scales.position[axis].perInternal = PerInternal(units, names.position[axis]);
    scales.speed.perInternal = PerInternal(units, names.speed);
    scales.acceleration.perInternal = PerInternal(units, names.acceleration);
    if (base) SetBase(units, scales);
    return scales;
}
