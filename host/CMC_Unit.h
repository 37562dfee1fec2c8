// One unit of a setup's unit catalogue.
#pragma once

#include "host/CString.h"

// Families of units that convert into each other.
enum class UnitFamily {
    None,  // belongs to no family: converts only to itself
    Length,
    Angle,
    LinearSpeed,
    AngularSpeed,
    LinearAcceleration,
    AngularAcceleration,
};

// The quantity a controller parameter measures; each has an internal unit.
enum class UnitQuantity { None, Position, Speed, Acceleration };

class CMC_Unit {
  public:
    CMC_Unit(const char* name, UnitFamily family, UnitQuantity quantity, double factor,
             const char* baseName);
    // factorInBase: size of one of this unit in its base unit, for exact conversions between
    // units of one base (1 mil = 0.001 in although 1 in is 0.0254 m).
    CMC_Unit(const char* name, UnitFamily family, UnitQuantity quantity, double factor,
             const char* baseName, double factorInBase);

    const CString& GetUnitName() const { return m_name; }
    UnitFamily GetFamily() const { return m_family; }
    UnitQuantity GetQuantity() const { return m_quantity; }
    // Size of one of this unit in the family's reference unit (m, rad, m/s, rad/s, ...).
    double GetFactor() const { return m_factor; }
    // Name of the base unit this unit belongs to (mm -> m, mil -> in, deg -> rad).
    const CString& GetBaseUnitName() const { return m_baseName; }
    double GetFactorInBase() const { return m_factorInBase; }

    // Units are equal when their names are.
    int operator==(const CMC_Unit& other) const { return m_name == other.m_name; }
    int operator!=(const CMC_Unit& other) const { return !(m_name == other.m_name); }

  private:
    CString m_name;
    UnitFamily m_family;
    UnitQuantity m_quantity;
    double m_factor;
    CString m_baseName;
    double m_factorInBase;
};
