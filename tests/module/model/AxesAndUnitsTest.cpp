#include <gtest/gtest.h>

#include "module/model/CInternalData.h"
#include "tests/support/TestProject.h"

namespace {

// A drive whose 1000 internal position units are `length` base units (m or rad).
TestDrive DriveWithProbeLength(double length, const char* unit = "mm") {
    TestDrive drive;
    drive.positionUnit = unit;
    drive.countsPerRev = 1;
    drive.travelPerRev = std::string(unit) == "mm" ? length : length / 1000.0;
    return drive;
}

class AxesAndUnits : public ::testing::Test {
  protected:
    void Choose(int x, int y, int z = -1) {
        data.m_nProfileType = z >= 0 ? 1 : 0;
        data.m_nSlaveX = x;
        data.m_nSlaveY = y;
        data.m_nSlaveZ = z;
        data.UpdateAxesAndUnits();
    }

    std::vector<CMC_ArrayParameter*> Columns() const {
        return {data.m_pAcceleration, data.m_pSpeed, data.m_pPositionX, data.m_pPositionY,
                data.m_pPositionZ};
    }

    TestProject project;
    CInternalData data{project.controller, project.motion};
};

TEST_F(AxesAndUnits, FinestAxisIsTheReferenceAndOthersGetFractionsOfItsResolution) {
    const TestDrive x = DriveWithProbeLength(0.5), y = DriveWithProbeLength(0.25),
                    z = DriveWithProbeLength(1.0);
    project.AddSlave(1, &x);
    project.AddSlave(2, &y);
    project.AddSlave(3, &z);

    Choose(0, 1, 2);

    EXPECT_EQ(data.m_nUnitKind, 2);
    EXPECT_EQ(data.m_nResolutionRatio[0], 2147483648u);
    EXPECT_EQ(data.m_nResolutionRatio[1], 0u);
    EXPECT_EQ(data.m_nResolutionRatio[2], 1073741824u);
    for (auto* column : Columns()) EXPECT_EQ(column->GetSetup(), project.DriveOf(1));
}

TEST_F(AxesAndUnits, RatioIsTruncatedTowardZero) {
    const TestDrive x = DriveWithProbeLength(0.3), y = DriveWithProbeLength(0.7);
    project.AddSlave(1, &x);
    project.AddSlave(2, &y);

    Choose(0, 1);

    EXPECT_EQ(data.m_nResolutionRatio[0], 0u);
    EXPECT_EQ(data.m_nResolutionRatio[1], 1840700269u);
    EXPECT_EQ(data.m_nResolutionRatio[2], 0u);
}

TEST_F(AxesAndUnits, TieKeepsTheEarlierAxisAndEqualResolutionGivesZero) {
    const TestDrive fine = DriveWithProbeLength(1.0, "rad"),
                    coarse = DriveWithProbeLength(3.0, "rad");
    project.AddSlave(1, &fine);
    project.AddSlave(2, &coarse);
    project.AddSlave(3, &fine);

    Choose(0, 1, 2);

    EXPECT_EQ(data.m_nUnitKind, 1);
    EXPECT_EQ(data.m_nResolutionRatio[0], 0u);
    EXPECT_EQ(data.m_nResolutionRatio[1], 1431655765u);
    EXPECT_EQ(data.m_nResolutionRatio[2], 0u);
    EXPECT_EQ(data.m_pPositionX->GetSetup(), project.DriveOf(0));
    EXPECT_EQ(data.m_pPositionX->GetUnitName(), "");  // fresh columns carry no unit yet
}

TEST_F(AxesAndUnits, EqualResolutionsInDifferentUnitsOfOneFamilyGiveZero) {
    // 2000 counts per 5 mm, 0.005 m and 5000 um: one resolution, written three ways.
    const TestDrive mm{"mm", 2000, 5.0, 0.001, true}, m{"m", 2000, 0.005, 0.001, true},
        um{"um", 2000, 5000.0, 0.001, true};
    project.AddSlave(1, &mm);
    project.AddSlave(2, &m);
    project.AddSlave(3, &um);
    const int orders[][3] = {{0, 1, 2}, {1, 2, 0}, {2, 0, 1}};
    for (const auto& order : orders) {
        Choose(order[0], order[1], order[2]);
        EXPECT_EQ(data.m_nUnitKind, 2);
        EXPECT_EQ(data.m_nResolutionRatio[0], 0u) << order[0];
        EXPECT_EQ(data.m_nResolutionRatio[1], 0u) << order[0];
        EXPECT_EQ(data.m_nResolutionRatio[2], 0u) << order[0];
        EXPECT_EQ(data.m_pPositionX->GetSetup(), project.DriveOf(order[0])) << "a tie keeps X";
    }
}

TEST_F(AxesAndUnits, EqualRotaryResolutionsInDegreesAndTurnsGiveZero) {
    const TestDrive deg{"deg", 1000, 360.0, 0.001, true}, rot{"rot", 1000, 1.0, 0.001, true},
        coarse{"rot", 1000, 3.0, 0.001, true};
    project.AddSlave(1, &deg);
    project.AddSlave(2, &rot);
    project.AddSlave(3, &coarse);

    Choose(0, 1, 2);

    EXPECT_EQ(data.m_nUnitKind, 1);
    EXPECT_EQ(data.m_nResolutionRatio[0], 0u);
    EXPECT_EQ(data.m_nResolutionRatio[1], 0u);
    EXPECT_EQ(data.m_nResolutionRatio[2], 1431655765u);  // one third, as before
}

TEST_F(AxesAndUnits, AxesThatDoNotFormOneSetGiveNoUnits) {
    const TestDrive linear;
    const TestDrive rotary = DriveWithProbeLength(1.0, "rad");
    const TestDrive imperial{"in", 1000, 0.2, 0.001, true};
    TestDrive noPosition;
    noPosition.positionUnit = "";
    project.AddSlave(1, &linear);      // 0
    project.AddSlave(2, &rotary);      // 1
    project.AddSlave(3, &imperial);    // 2
    project.AddSlave(4, &noPosition);  // 3
    project.AddSlave(5, &linear);      // 4
    project.AddSlave(6, nullptr);      // 5: no axis data

    const int choices[][3] = {{0, 1, -1}, {0, 2, -1}, {0, 4, 3}, {5, 0, -1}, {0, 5, -1}};
    for (const auto& choice : choices) {
        Choose(choice[0], choice[1], choice[2]);
        EXPECT_EQ(data.m_nUnitKind, 0) << choice[0] << " " << choice[1] << " " << choice[2];
        EXPECT_EQ(
            data.m_nResolutionRatio[0] | data.m_nResolutionRatio[1] | data.m_nResolutionRatio[2],
            0u);
        for (auto* column : Columns()) EXPECT_NE(column, nullptr);
    }
}

TEST_F(AxesAndUnits, XWithoutADriveBindsTheColumnsToTheController) {
    project.AddSlave(1, nullptr);
    const TestDrive drive;
    project.AddSlave(2, &drive);

    Choose(0, 1);

    EXPECT_EQ(data.m_nUnitKind, 0);
    for (auto* column : Columns()) EXPECT_EQ(column->GetSetup(), &project.controller);
}

TEST_F(AxesAndUnits, ProbeLeavesTheAxisPositionAtOneThousandInternalUnits) {
    project.AddSlaves(2, TestDrive{});
    Choose(0, 1);
    EXPECT_EQ(project.DriveOf(1)->FindVariable("TPOS", 1)->GetValueInInternalUnit(), 1000.0);
}

class Rebinding : public AxesAndUnits {
  protected:
    // Reads a two-axis element on slaves x and y so that the columns carry units.
    void ReadElement(int x, int y, const char* positions, const char* dynamics = "1") {
        CString text;
        text.Format(
            "ProfileType=0\nSlaveX=%d\nSlaveY=%d\nX_TPOS[mm]=%s\nY_TPOS[mm]=%s\n"
            "CACC[m/s^2]=%s\nCSPD[m/s]=%s\nExecute=0\n",
            x, y, positions, positions, dynamics, dynamics);
        CString error;
        data.ReadParameters(text, error);
        ASSERT_EQ(error, "");
    }
};

TEST_F(Rebinding, SameAxesAgainChangeNoColumn) {
    project.AddSlaves(2, TestDrive{});
    ReadElement(0, 1, "10");
    const auto before = Columns();

    data.UpdateAxesAndUnits();

    EXPECT_EQ(Columns(), before);
    EXPECT_EQ(data.m_pPositionX->GetUnitName(), "mm");
}

TEST_F(Rebinding, NewReferenceAxisOfTheSameFamilyKeepsValuesInTheirUnit) {
    project.AddSlaves(2, TestDrive{});  // 0.0025 mm per count
    TestDrive fine;
    fine.travelPerRev = 2.0;  // 0.001 mm per count
    project.AddSlave(3, &fine);
    ReadElement(0, 1, "10 -2.5", "1 1");

    data.m_nSlaveY = 2;
    data.UpdateAxesAndUnits();

    EXPECT_EQ(data.m_pPositionX->GetSetup(), project.DriveOf(2));
    EXPECT_EQ(data.m_pPositionX->GetUnitName(), "mm");
    EXPECT_EQ(data.m_pPositionX->GetValue(0), 10.0);
    EXPECT_EQ(data.m_pPositionX->GetValueInInternalUnit(0), 10000.0);
    EXPECT_EQ(data.m_pPositionX->GetValue(1), -2.5);
    EXPECT_EQ(data.m_pAcceleration->GetUnitName(), "m/s^2");
    EXPECT_NEAR(data.m_pAcceleration->GetValue(0), 1.0, 1e-4);
}

TEST_F(Rebinding, ValuesBeyondAFinerDriveAreKeptAsNearAsItAllows) {
    project.AddSlaves(2, TestDrive{});
    TestDrive tiny;
    tiny.travelPerRev = 2e-6;  // 1e-9 mm per count
    project.AddSlave(3, &tiny);
    ReadElement(0, 1, "100 1", "1 1");

    data.m_nSlaveY = 2;
    data.UpdateAxesAndUnits();

    ASSERT_EQ(data.m_pPositionX->GetValuesCount(), 2);
    EXPECT_EQ(data.m_pPositionX->GetName(), "X_TPOS");
    EXPECT_EQ(data.m_pPositionX->GetUnitName(), "mm");
    EXPECT_EQ(data.m_pPositionX->GetValueInInternalUnit(0), 2147483647.0);
    EXPECT_NEAR(data.m_pPositionX->GetValue(1), 1.0, 1e-9);
}

TEST_F(Rebinding, ChangeOfFamilyCarriesInternalNumbers) {
    project.AddSlaves(2, TestDrive{});
    const TestDrive rotary{"deg", 3600, 360.0, 0.001, true};
    project.AddSlave(3, &rotary);
    project.AddSlave(4, &rotary);
    ReadElement(0, 1, "10");  // 4000 internal units

    data.m_nSlaveX = 2;
    data.m_nSlaveY = 3;
    data.UpdateAxesAndUnits();

    EXPECT_EQ(data.m_nUnitKind, 1);
    EXPECT_EQ(data.m_pPositionX->GetUnitName(), "IU");
    EXPECT_EQ(data.m_pPositionX->GetValueInInternalUnit(0), 4000.0);
    EXPECT_EQ(data.m_pSpeed->GetUnitName(), "IU/Ts");
}

}  // namespace
