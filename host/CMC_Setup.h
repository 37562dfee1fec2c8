// A controller or drive setup of the project.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/CMC_Units.h"
#include "host/CMC_Variable.h"
#include "host/CString.h"
#include "platform/AfxTypes.h"

class CMC_Setup {
  public:
    explicit CMC_Setup(const char* name = "");
    CMC_Setup(const CMC_Setup&) = delete;
    CMC_Setup& operator=(const CMC_Setup&) = delete;
    ~CMC_Setup();

    // --- built by the host application from its project ---
    void SetMotionController(bool isController) { m_isMotionController = isController; }
    // Adds a slave with the axis id (0 = no axis); slave numbers count from 0.
    void AddSlave(BYTE axisId) { m_slaveAxisIds.push_back(axisId); }
    void SetIntOption(const char* name, int value) { m_intOptions[name] = value; }
    void SetUnits(const CMC_Units& units) { m_units = units; }
    CMC_Variable& AddVariable(const char* name, const char* unitName, int type);
    const CString& GetName() const { return m_name; }

    // --- the host interface ---
    // The named integer option; 0 when the setup has none.
    int GetIntOption(const char* name) const;
    int IsMotionController() const { return m_isMotionController ? 1 : 0; }
    BYTE GetMotionControllerSlaveCount() const;
    // Nonzero when the slave exists; axisId receives its axis id.
    int MotionController_GetAxisIDOfSlave(BYTE slave, BYTE& axisId) const;
    CMC_Units& GetUnits() { return m_units; }
    const CMC_Units& GetUnits() const { return m_units; }
    // The named variable, or null; flag is kept for the interface and not used.
    CMC_Variable* FindVariable(const char* name, int flag);

  private:
    CString m_name;
    bool m_isMotionController = false;
    std::vector<BYTE> m_slaveAxisIds;
    std::map<std::string, int> m_intOptions;
    CMC_Units m_units;
    std::vector<std::unique_ptr<CMC_Variable>> m_variables;
};
