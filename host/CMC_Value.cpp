#include "host/CMC_Value.h"

#include <cmath>
#include <limits>

namespace {
// The type's value as a count of this unit (1 for integers, 1/65536 for fixed point).
double RawUnitOf(int type) { return type == VT_FIXED ? 1.0 / 65536.0 : 1.0; }

double RawMin(int type) {
    switch (type) {
        case VT_INT:
            return std::numeric_limits<std::int16_t>::min();
        case VT_UINT:
            return 0.0;
        case VT_LONG:
            return std::numeric_limits<std::int32_t>::min();
        case VT_ULONG:
            return 0.0;
        case VT_FIXED:
            return std::numeric_limits<std::int32_t>::min();
        default:
            return std::numeric_limits<double>::lowest();
    }
}

double RawMax(int type) {
    switch (type) {
        case VT_INT:
            return std::numeric_limits<std::int16_t>::max();
        case VT_UINT:
            return std::numeric_limits<std::uint16_t>::max();
        case VT_LONG:
            return std::numeric_limits<std::int32_t>::max();
        case VT_ULONG:
            return std::numeric_limits<std::uint32_t>::max();
        case VT_FIXED:
            return std::numeric_limits<std::int32_t>::max();
        default:
            return std::numeric_limits<double>::max();
    }
}

bool IsStepped(int type) { return CMC_Value::IsKnownType(type) && type != VT_NONE; }

// Nearest raw step count, saturated; NaN never reaches the conversion.
std::int64_t ToRaw(int type, double v) {
    if (std::isnan(v)) return 0;
    // Dividing by the fixed-point unit, a power of two, is multiplying by its inverse exactly.
    const double raw = RoundHalfAway(type == VT_FIXED ? v * 65536.0 : v);
    if (raw <= RawMin(type)) return static_cast<std::int64_t>(RawMin(type));
    if (raw >= RawMax(type)) return static_cast<std::int64_t>(RawMax(type));
    return static_cast<std::int64_t>(raw);
}
}  // namespace

void CMC_Value::SetValue(int type, double v) {
    m_raw = 0;
    m_real = 0.0;
    if (!IsStepped(type)) {
        m_real = v == 0.0 ? 0.0 : v;  // no negative zero
        return;
    }
    m_raw = ToRaw(type, v);
}

double CMC_Value::GetValue(int type) const {
    if (!IsStepped(type)) return m_real;
    return static_cast<double>(m_raw) * RawUnitOf(type);
}

double CMC_Value::Represent(int type, double v) {
    CMC_Value value;
    value.SetValue(type, v);
    return value.GetValue(type);
}

double CMC_Value::MinOf(int type) { return RawMin(type) * RawUnitOf(type); }

double CMC_Value::MaxOf(int type) { return RawMax(type) * RawUnitOf(type); }

bool CMC_Value::IsKnownType(int type) {
    switch (type) {
        case VT_NONE:
        case VT_INT:
        case VT_UINT:
        case VT_LONG:
        case VT_ULONG:
        case VT_FIXED:
            return true;
        default:
            return false;
    }
}
