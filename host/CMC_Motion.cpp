#include "host/CMC_Motion.h"

#include <utility>

void CMC_Motion::SetSlaveAxis(int slave, std::unique_ptr<CMC_AxisData> axis) {
    m_axes[slave] = std::move(axis);
}

CMC_AxisData* CMC_Motion::GetMotionControllerSlaveAxis(int slave) {
    auto it = m_axes.find(slave);
    return it == m_axes.end() ? nullptr : it->second.get();
}

void CMC_Motion::AddToElemParameters(CString& text, const char* name, const char* unit,
                                     const char* value) {
    text += name;
    text += '[';
    text += unit;
    text += "]=";
    text += value;
    text += '\n';
}
