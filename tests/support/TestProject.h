// A controller with drives behind its slaves, built in memory as a project file would build it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/CMC_Motion.h"
#include "host/CMC_Setup.h"
#include "host/CMC_Units.h"

// A drive behind a slave. The defaults are the tests' standard drive: 2000 counts per
// revolution of 5 mm, sampled every millisecond, so one count is 0.0025 mm.
struct TestDrive {
    const char* positionUnit = "mm";
    double countsPerRev = 2000;
    double travelPerRev = 5.0;
    double sampleTime = 0.001;
    bool closedPosition = true;

    DriveScale Scale() const;
    CMC_Units Units() const { return CMC_Units(Scale()); }
    // The drive as the table [drive.NAME] of a project file.
    std::string Table(const std::string& name) const;
};

class TestProject {
  public:
    // A motion controller with the three variables the element needs, and no slaves yet.
    TestProject();

    // Adds a slave with the axis id; a drive of nullptr leaves the motion without axis data.
    int AddSlave(int axisId, const TestDrive* drive);
    // Adds slaves with axis ids 1, 2, ... all on drives like drive.
    void AddSlaves(int count, const TestDrive& drive);
    CMC_Setup* DriveOf(int slave);

    CMC_Setup controller{"controller"};
    CMC_Motion motion;
    std::vector<std::unique_ptr<CMC_Setup>> drives;
    int slaveCount = 0;
};

// A three-axis element on slaves 0, 1, 2 as GetDefaultParameters writes it.
inline constexpr const char* kDefault3D =
    "ProfileType=1\nClearBuffer=1\nConfigureMode=1\nInsertEndSegment=1\nSlaveX=0\nSlaveY=1\n"
    "SlaveZ=2\nX_TPOS[IU]=0\nY_TPOS[IU]=0\nZ_TPOS[IU]=0\nCACC[IU/Ts^2]=0\nCSPD[IU/Ts]=0\n"
    "Execute=0\nWaitForCompletion=1\n";
