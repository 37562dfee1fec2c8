// The host objects a project file describes: the controller, its drives and the motion.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/CMC_Motion.h"
#include "host/CMC_Setup.h"

// What a drive can give, as the project states it in the drive's position unit (per second, per
// second squared); nothing = not stated.
struct DriveLimits {
    std::string positionUnit;
    double sampleTime = 0.0;  // seconds
    std::optional<double> maxSpeed;
    std::optional<double> maxAcceleration;
    std::optional<double> travelMin;
    std::optional<double> travelMax;
};

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

    // The limits of the drive behind a slave, or null when the slave has no drive.
    void SetSlaveLimits(int slave, const DriveLimits& limits);
    const DriveLimits* SlaveLimits(int slave) const;
    // The shortest segment, in seconds, the controller runs at full speed; nothing = the default
    // of two sample times.
    std::optional<double> MinSegmentTime() const { return m_minSegmentTime; }
    void SetMinSegmentTime(double seconds) { m_minSegmentTime = seconds; }

  private:
    CMC_Setup m_controller;
    std::vector<std::optional<DriveLimits>> m_slaveLimits;  // by slave number
    std::optional<double> m_minSegmentTime;
    // Declared before the motion, whose axis data point at these setups.
    std::map<std::string, std::unique_ptr<CMC_Setup>> m_drives;
    CMC_Motion m_motion;
};
