// A setup's unit catalogue: the physical units and the drive's internal units.
#pragma once

#include <vector>

#include "host/CMC_Unit.h"
#include "host/CString.h"

// How a drive's counts, travel and sample time size its internal units.
struct DriveScale {
    CString positionUnit;  // unit of the drive's position; "" = no position
    double countsPerRev = 1.0;
    double travelPerRev = 1.0;  // in positionUnit
    double sampleTime = 1.0;    // seconds
};

class CMC_Units {
  public:
    // A catalogue without a drive: the internal units belong to no family.
    CMC_Units();
    // A drive's catalogue: one internal position unit is travelPerRev / countsPerRev position
    // units, the internal speed unit one of those per sample, acceleration per sample squared.
    explicit CMC_Units(const DriveScale& drive);

    // The unit of that name, or null.
    const CMC_Unit* FindUnit(const char* name) const;
    // The base unit of the unit of that name (itself for a base unit), or null.
    const CMC_Unit* FindBaseUnit(const char* name) const;
    // Nonzero when both units are known and belong to one family.
    int CompatibleUnits(const char* first, const char* second) const;
    // Converts v in place from one unit to another of the same family; false if impossible.
    bool Convert(double& v, const char* from, const char* to) const;
    // The factors of that conversion: v * numerator / denominator; false if impossible.
    bool ConversionFactors(const char* from, const char* to, double& numerator,
                           double& denominator) const;
    // Whether values in unit can be held in its internal unit here ("" always can: no unit).
    bool IsUsableUnit(const char* unit) const;
    // The units that v in unit name could be shown in, in catalogue order: the physical units
    // first, the internal unit last.
    std::vector<const CMC_Unit*> GetCompatibleUnits(const char* name) const;

    // The name of the internal unit of the given unit's quantity; "" for an unknown unit.
    static CString GetIUOfUnit(const char* unitName);
    // The name of the base unit of the given physical unit (the unit itself when unknown).
    static CString DumpIUOfUnit(const char* unitName);
    // The internal unit's name for a quantity ("IU", "IU/Ts", "IU/Ts^2").
    static const char* InternalUnitName(UnitQuantity quantity);

  private:
    void AddPhysicalUnits();
    std::vector<CMC_Unit> m_units;  // filled once by the constructors
};
