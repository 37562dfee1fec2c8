// One value of a controller variable type, as the controller stores it.
#pragma once

#include <cstdint>

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
    // Whether type is one of the types above.
    static bool IsKnownType(int type);

  private:
    std::int64_t m_raw = 0;
    double m_real = 0.0;
};
