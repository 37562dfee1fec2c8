// One value of a controller variable type, as the controller stores it.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "base/FixedPoint.h"
#include "base/Rounding.h"

// Variable types of the controller.
enum tagVarType {
    VT_NONE = 0,   // no controller type: plain double
    VT_INT = 1,    // signed 16-bit integer
    VT_UINT = 2,   // unsigned 16-bit integer
    VT_LONG = 3,   // signed 32-bit integer
    VT_ULONG = 4,  // unsigned 32-bit integer
    VT_FIXED = 7,  // signed 16.16 fixed point
};

class CMC_Value {
  public:
    // Stores v as type holds it: rounded to the nearest representable value, saturated at the
    // type's range; a value that is not a number stores 0 for the fixed and integer types.
    void SetValue(int type, double v);
    // The stored value as a double.
    double GetValue(int type) const;

    // What SetValue then GetValue would give, without an object.
    static double Represent(int type, double v);
    static double MinOf(int type);
    static double MaxOf(int type);
    // v rounded to the type's nearest step without saturating (range checks use it).
    static double RoundToStep(int type, double v);
    // The type's smallest step: 1 for integers, 1/65536 for fixed point, 0 for a plain double.
    static double StepOf(int type);
    // Whether type is one of the types above.
    static bool IsKnownType(int type);

  private:
    // The type's value as a count of this unit (1 for integers, 1/65536 for fixed point).
    static double RawUnitOf(int type) { return type == VT_FIXED ? fixedpoint::kStep : 1.0; }
    static double RawMin(int type);
    static double RawMax(int type);
    static bool IsStepped(int type) { return IsKnownType(type) && type != VT_NONE; }
    // Nearest raw step count, saturated; NaN never reaches the conversion.
    static std::int64_t ToRaw(int type, double v);

    std::int64_t m_raw = 0;
    double m_real = 0.0;
};

inline bool CMC_Value::IsKnownType(int type) {
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

inline double CMC_Value::RawMin(int type) {
    switch (type) {
        case VT_INT:
            return std::numeric_limits<std::int16_t>::min();
        case VT_UINT:
        case VT_ULONG:
            return 0.0;
        case VT_LONG:
            return std::numeric_limits<std::int32_t>::min();
        case VT_FIXED:
            return fixedpoint::kRawMin;
        default:
            return std::numeric_limits<double>::lowest();
    }
}

inline double CMC_Value::RawMax(int type) {
    switch (type) {
        case VT_INT:
            return std::numeric_limits<std::int16_t>::max();
        case VT_UINT:
            return std::numeric_limits<std::uint16_t>::max();
        case VT_LONG:
            return std::numeric_limits<std::int32_t>::max();
        case VT_FIXED:
            return fixedpoint::kRawMax;
        case VT_ULONG:
            return std::numeric_limits<std::uint32_t>::max();
        default:
            return std::numeric_limits<double>::max();
    }
}

inline std::int64_t CMC_Value::ToRaw(int type, double v) {
    if (std::isnan(v)) return 0;
    // Dividing by the fixed-point unit, a power of two, is multiplying by its inverse exactly.
    const double raw = RoundHalfAway(type == VT_FIXED ? v * fixedpoint::kScale : v);
    if (raw <= RawMin(type)) return static_cast<std::int64_t>(RawMin(type));
    if (raw >= RawMax(type)) return static_cast<std::int64_t>(RawMax(type));
    return static_cast<std::int64_t>(raw);
}

// Inline, as the editor and the columns store every value of long lists through these.
inline void CMC_Value::SetValue(int type, double v) {
    m_raw = 0;
    m_real = 0.0;
    if (!IsStepped(type)) {
        m_real = v == 0.0 ? 0.0 : v;  // no negative zero
        return;
    }
    m_raw = ToRaw(type, v);
}

inline double CMC_Value::GetValue(int type) const {
    if (!IsStepped(type)) return m_real;
    return static_cast<double>(m_raw) * RawUnitOf(type);
}

inline double CMC_Value::Represent(int type, double v) {
    CMC_Value value;
    value.SetValue(type, v);
    return value.GetValue(type);
}

inline double CMC_Value::MinOf(int type) { return RawMin(type) * RawUnitOf(type); }

inline double CMC_Value::MaxOf(int type) { return RawMax(type) * RawUnitOf(type); }

inline double CMC_Value::StepOf(int type) {
    switch (type) {
        case VT_INT:
        case VT_UINT:
        case VT_LONG:
        case VT_ULONG:
            return 1.0;
        case VT_FIXED:
            return fixedpoint::kStep;
        default:
            return 0.0;
    }
}

// Inline, as range checks and printing call it for every value of long lists. Scaling by the
// fixed-point step, a power of two, is exact.
inline double CMC_Value::RoundToStep(int type, double v) {
    switch (type) {
        case VT_INT:
        case VT_UINT:
        case VT_LONG:
        case VT_ULONG:
            return RoundHalfAway(v);
        case VT_FIXED:
            return RoundHalfAway(v * fixedpoint::kScale) / fixedpoint::kScale;
        default:
            return v;
    }
}
