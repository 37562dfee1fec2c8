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
