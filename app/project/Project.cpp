#include "app/project/Project.h"

Project::Project() : m_controller("controller") {}

CMC_Setup& Project::AddDrive(const std::string& name) {
    auto& slot = m_drives[name];
    slot = std::make_unique<CMC_Setup>(name.c_str());
    return *slot;
}

CMC_Setup* Project::FindDrive(const std::string& name) {
    auto found = m_drives.find(name);
    if (found == m_drives.end()) return nullptr;
    return found->second.get();
}

void Project::SetSlaveLimits(int slave, const DriveLimits& limits) {
    const auto index = static_cast<std::size_t>(slave);
    if (m_slaveLimits.size() <= index) m_slaveLimits.resize(index + 1);
    m_slaveLimits[index] = limits;
}

const DriveLimits* Project::SlaveLimits(int slave) const {
    const auto index = static_cast<std::size_t>(slave);
    if (slave < 0 || index >= m_slaveLimits.size() || !m_slaveLimits[index]) return nullptr;
    return &*m_slaveLimits[index];
}
