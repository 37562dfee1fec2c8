#include "toolpath/element/CountScale.h"

#include "base/EscapedText.h"
#include "host/CMC_Units.h"
#include "toolpath/element/PathError.h"

CountScale ScaleToInternal(const CMC_Units& units, const std::string& unit) {
    CountScale scale;
    if (unit.empty()) return scale;
    const CString internal = CMC_Units::GetIUOfUnit(unit.c_str());
    if (!units.ConversionFactors(unit.c_str(), internal, scale.from, scale.to))
        throw PathError("the unit " + numbertext::Quoted(unit) +
                        " does not convert into the element's axes");
    return scale;
}
