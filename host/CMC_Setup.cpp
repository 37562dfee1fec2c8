#include "host/CMC_Setup.h"

#include <limits>

CMC_Setup::CMC_Setup(const char* name) : m_name(name) {}

CMC_Setup::~CMC_Setup() = default;

CMC_Variable& CMC_Setup::AddVariable(const char* name, const char* unitName, int type) {
    m_variables.push_back(std::make_unique<CMC_Variable>(*this, name, unitName, type));
    return *m_variables.back();
}

int CMC_Setup::GetIntOption(const char* name) const {
    if (!name) return 0;
    auto it = m_intOptions.find(name);
    return it == m_intOptions.end() ? 0 : it->second;
}

BYTE CMC_Setup::GetMotionControllerSlaveCount() const {
    constexpr size_t kMaxCount = std::numeric_limits<BYTE>::max();
    return static_cast<BYTE>(m_slaveAxisIds.size() < kMaxCount ? m_slaveAxisIds.size() : kMaxCount);
}

int CMC_Setup::MotionController_GetAxisIDOfSlave(BYTE slave, BYTE& axisId) const {
    if (slave >= m_slaveAxisIds.size()) return 0;
    axisId = m_slaveAxisIds[slave];
    return 1;
}

CMC_Variable* CMC_Setup::FindVariable(const char* name, int /*flag*/) {
    if (!name) return nullptr;
    for (const auto& variable : m_variables) {
        if (variable->GetName() == name) return variable.get();
    }
    return nullptr;
}
