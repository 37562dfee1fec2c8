#include "tests/support/TestProject.h"

#include <charconv>
#include <stdexcept>

#include "host/CMC_AxisData.h"
#include "host/CMC_Value.h"

namespace {

// The shortest text that reads back as value, as a TOML number.
std::string NumberText(double value) {
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    if (error != std::errc()) throw std::runtime_error("cannot write a drive's number");
    return std::string(text, end);
}

}  // namespace

DriveScale TestDrive::Scale() const {
    return DriveScale{positionUnit, countsPerRev, travelPerRev, sampleTime};
}

std::string TestDrive::Table(const std::string& name) const {
    std::string table = "[drive." + name + "]\n" + "position_unit = \"" + positionUnit + "\"\n" +
                        "counts_per_rev = " + NumberText(countsPerRev) + "\n" +
                        "travel_per_rev = " + NumberText(travelPerRev) + "\n" +
                        "sample_time = " + NumberText(sampleTime) + "\n";
    if (!closedPosition) table += "closed_position = false\n";
    return table;
}

TestProject::TestProject() {
    controller.SetMotionController(true);
    controller.AddVariable("CACC", "", VT_FIXED);
    controller.AddVariable("CSPD", "", VT_FIXED);
    controller.AddVariable("TPOS", "", VT_LONG);
}

int TestProject::AddSlave(int axisId, const TestDrive* drive) {
    const int slave = slaveCount++;
    controller.AddSlave(static_cast<BYTE>(axisId));
    if (!drive) return slave;
    auto setup = std::make_unique<CMC_Setup>("drive");
    setup->SetIntOption("IsClosedPosition", drive->closedPosition ? 1 : 0);
    setup->SetUnits(drive->Units());
    if (*drive->positionUnit) setup->AddVariable("TPOS", drive->positionUnit, VT_LONG);
    motion.SetSlaveAxis(slave, std::make_unique<CMC_AxisData>(setup.get()));
    drives.push_back(std::move(setup));
    return slave;
}

void TestProject::AddSlaves(int count, const TestDrive& drive) {
    for (int i = 0; i < count; ++i) AddSlave(slaveCount + 1, &drive);
}

CMC_Setup* TestProject::DriveOf(int slave) {
    CMC_AxisData* axis = motion.GetMotionControllerSlaveAxis(slave);
    return axis ? axis->GetAxisSetup() : nullptr;
}
