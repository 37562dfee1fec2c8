// One value of a controller variable type, as the controller stores it.
#pragma once

#include <cstdint>

#include "host/Rounding.h"

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
    static constexpr double kFixedScale = 65536.0;

    std::int64_t m_raw = 0;
    double m_real = 0.0;
};

inline double CMC_Value::StepOf(int type) {
    switch (type) {
        case VT_INT:
        case VT_UINT:
        case VT_LONG:
        case VT_ULONG:
            return 1.0;
        case VT_FIXED:
            return 1.0 / kFixedScale;
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
            return RoundHalfAway(v * kFixedScale) / kFixedScale;
        default:
            return v;
    }
}
