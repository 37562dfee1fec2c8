// A motion sequence of the project, with the axis data of its controller's slaves.
#pragma once

#include <map>
#include <memory>

#include "host/CMC_AxisData.h"
#include "host/CString.h"

class CMC_Motion {
  public:
    CMC_Motion() = default;
    CMC_Motion(const CMC_Motion&) = delete;
    CMC_Motion& operator=(const CMC_Motion&) = delete;

    // --- built by the host application from its project ---
    void SetSlaveAxis(int slave, std::unique_ptr<CMC_AxisData> axis);

    // --- the host interface ---
    // The axis data of the slave, or null when the motion has none for it.
    CMC_AxisData* GetMotionControllerSlaveAxis(int slave);
    // Appends an array entry "name[unit]=value" to the parameter text.
    void AddToElemParameters(CString& text, const char* name, const char* unit, const char* value);

  private:
    std::map<int, std::unique_ptr<CMC_AxisData>> m_axes;
};
