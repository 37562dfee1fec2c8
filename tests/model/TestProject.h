// A controller with drives behind its slaves, built in memory for the model's tests.
#pragma once

#include <memory>
#include <vector>

#include "host/CMC_AxisData.h"
#include "host/CMC_Motion.h"
#include "host/CMC_Setup.h"
#include "host/CMC_Units.h"
#include "host/CMC_Value.h"

struct TestDrive {
    const char* positionUnit = "mm";
    double countsPerRev = 2000;
    double travelPerRev = 5.0;
    double sampleTime = 0.001;
    bool closedPosition = true;
};

class TestProject {
  public:
    TestProject() {
        controller.SetMotionController(true);
        controller.AddVariable("CACC", "", VT_FIXED);
        controller.AddVariable("CSPD", "", VT_FIXED);
        controller.AddVariable("TPOS", "", VT_LONG);
    }

    // Adds a slave with the axis id; a drive of nullptr leaves the motion without axis data.
    int AddSlave(int axisId, const TestDrive* drive) {
        const int slave = slaveCount++;
        controller.AddSlave(static_cast<BYTE>(axisId));
        if (!drive) return slave;
        auto setup = std::make_unique<CMC_Setup>("drive");
        setup->SetIntOption("IsClosedPosition", drive->closedPosition ? 1 : 0);
        setup->SetUnits(CMC_Units(DriveScale{drive->positionUnit, drive->countsPerRev,
                                             drive->travelPerRev, drive->sampleTime}));
        if (*drive->positionUnit) setup->AddVariable("TPOS", drive->positionUnit, VT_LONG);
        motion.SetSlaveAxis(slave, std::make_unique<CMC_AxisData>(setup.get()));
        drives.push_back(std::move(setup));
        return slave;
    }

    // Adds slaves with axis ids 1, 2, ... all on drives like drive.
    void AddSlaves(int count, const TestDrive& drive) {
        for (int i = 0; i < count; ++i) AddSlave(slaveCount + 1, &drive);
    }

    CMC_Setup* DriveOf(int slave) {
        CMC_AxisData* axis = motion.GetMotionControllerSlaveAxis(slave);
        return axis ? axis->GetAxisSetup() : nullptr;
    }

    CMC_Setup controller{"controller"};
    CMC_Motion motion;
    std::vector<std::unique_ptr<CMC_Setup>> drives;
    int slaveCount = 0;
};
