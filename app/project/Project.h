// The host objects a project file describes: the controller, its drives and the motion.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "host/CMC_Motion.h"
#include "host/CMC_Setup.h"

class Project {
  public:
    Project();
    Project(const Project&) = delete;
    Project& operator=(const Project&) = delete;

    // The motion controller: the setup passed to every export.
    CMC_Setup& Controller() { return m_controller; }
    // The motion element's view of the controller's slave axes.
    CMC_Motion& Motion() { return m_motion; }

    // Adds a drive setup of that name; the project owns it.
    CMC_Setup& AddDrive(const std::string& name);
    // The drive of that name, or null.
    CMC_Setup* FindDrive(const std::string& name);

  private:
    CMC_Setup m_controller;
    // Declared before the motion, whose axis data point at these setups.
    std::map<std::string, std::unique_ptr<CMC_Setup>> m_drives;
    CMC_Motion m_motion;
};
