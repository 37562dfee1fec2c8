#include "host/CMC_Variable.h"

#include "host/CMC_Setup.h"
#include "host/CMC_Value.h"

CMC_Variable::CMC_Variable(CMC_Setup& owner, const char* name, const char* unitName, int type)
    : m_owner(owner), m_name(name), m_unitName(unitName), m_type(type) {}

void CMC_Variable::SetValueInInternalUnit(double value) {
    m_value = CMC_Value::Represent(m_type, value);
}

// A variable without a unit shows its internal value; one whose unit the owner cannot convert
// reads as 0, which no caller mistakes for a length.
double CMC_Variable::GetValueInBaseUnit() const {
    if (m_unitName.IsEmpty()) return m_value;
    double value = m_value;
    const CString internal = CMC_Units::GetIUOfUnit(m_unitName);
    const CString base = CMC_Units::DumpIUOfUnit(m_unitName);
    if (!m_owner.GetUnits().Convert(value, internal, base)) return 0.0;
    return value;
}
