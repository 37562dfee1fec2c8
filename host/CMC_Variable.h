// A variable of a setup, holding one value in the setup's internal units.
#pragma once

#include "host/CString.h"

class CMC_Setup;

class CMC_Variable {
  public:
    CMC_Variable(CMC_Setup& owner, const char* name, const char* unitName, int type);

    const CString& GetName() const { return m_name; }
    const CString& GetUnitName() const { return m_unitName; }
    int GetType() const { return m_type; }

    void SetValueInInternalUnit(double value);
    double GetValueInInternalUnit() const { return m_value; }
    // The value converted from internal units to the base unit of the variable's unit.
    double GetValueInBaseUnit() const;

  private:
    CMC_Setup& m_owner;
    CString m_name;
    CString m_unitName;
    int m_type;
    double m_value = 0.0;
};
