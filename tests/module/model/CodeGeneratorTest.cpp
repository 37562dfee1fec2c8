#include <gtest/gtest.h>

#include <string>

#include "module/model/CInternalData.h"
#include "module/plugin/VantrelExports.h"
#include "tests/support/TestProject.h"

namespace {

// 1000 internal units are 1, 2 and 4 mm on slaves 0, 1 and 2; slave 3 is rotary, 4 like 0.
class CodeGenerator : public ::testing::Test {
  protected:
    CodeGenerator() {
        for (double travel : {1.0, 2.0, 4.0}) {
            TestDrive drive;
            drive.countsPerRev = 1000;
            drive.travelPerRev = travel;
            project.AddSlave(project.slaveCount + 1, &drive);
        }
        const TestDrive rotary{"rot", 1000, 1.0, 0.001, true};
        project.AddSlave(4, &rotary);
        TestDrive drive;
        drive.countsPerRev = 1000;
        drive.travelPerRev = 1.0;
        project.AddSlave(5, &drive);
    }

    static std::string Element(const std::string& changes = "") {
        return changes +
               "ProfileType=1\nConfigureMode=1\nClearBuffer=1\nInsertEndSegment=1\n"
               "SlaveX=0\nSlaveY=1\nSlaveZ=2\n"
               "X_TPOS[mm]=10 1\nY_TPOS[mm]=20 2\nZ_TPOS[mm]=30 3\n"
               "CACC[m/s^2]=1 0\nCSPD[m/s]=0.5 0.25\nExecute=0\nWaitForCompletion=1\n";
    }

    // The program text, or the refusal prefixed with "refused: ".
    std::string Translate(const std::string& text) {
        CString code;
        const int ok =
            TranslateMotionSequence(project.controller, project.motion, CString(text), code);
        return ok ? code.str() : "refused: " + code.str();
    }

    TestProject project;
};

const char* const kTwoSegmentProgram =
    "  SETMODE 0xCF00; //Clear buffer\r\n"
    "  LPLANE (A, B, C);\r\n"
    "  RESRATIOX=0u;\r\n"
    "  RESRATIOY=2147483648u;\r\n"
    "  RESRATIOZ=1073741824u;\r\n"
    "  MODE LI; // Set Linear Interpolation Mode\r\n"
    "  VACC = 1; // Vector Acceleration = 1[m/s^2]\r\n"
    "  VSPD = 500; // Vector Speed = 0.5[m/s]\r\n"
    "  // Increment position with (X, Y, Z) = (10[mm], 20[mm], 30[mm])\r\n"
    "  LPOS1 10000L, 20000L, 30000L; LPOS2 10000L, 20000L, 30000L;\r\n"
    "  UPD; //Execute immediate\r\n"
    "  VSPD = 250; // Vector Speed = 0.25[m/s]\r\n"
    "  // Increment position with (X, Y, Z) = (1[mm], 2[mm], 3[mm])\r\n"
    "  LPOS1 1000L, 2000L, 3000L; LPOS2 1000L, 2000L, 3000L;\r\n"
    "  // Insert End Segment\r\n"
    "  LPOS1 0L, 0L, 0L; LPOS2 0L, 0L, 0L;\r\n"
    "  WMC (A, B, C); // wait for motion completion\r\n";

TEST_F(CodeGenerator, ThreeAxisElementGivesTheWholeProgramInOrder) {
    EXPECT_EQ(Translate(Element()), kTwoSegmentProgram);
}

TEST_F(CodeGenerator, StartEventLinesStandBetweenTheFirstSegmentAndTheStart) {
    const std::string code = Translate(Element("Execute=1\nEventType=0\nEventDelay=20\n"));
    const auto firstSegment = code.find("LPOS1 10000L");
    const auto comment = code.find("  // Wait for event: ");
    const auto start = code.find("  UPD; //Execute immediate\r\n");
    ASSERT_NE(comment, std::string::npos);
    EXPECT_LT(firstSegment, comment);
    EXPECT_LT(comment, start);
    EXPECT_LT(start, code.find("LPOS1 1000L"));
}

TEST_F(CodeGenerator, TwoAxisElementUsesTwoLettersAndNoZ) {
    const std::string code = Translate(Element("ProfileType=0\nSlaveX=4\nSlaveY=1\n"));
    EXPECT_NE(code.find("  LPLANE (E, B);\r\n"), std::string::npos);
    EXPECT_NE(code.find("  RESRATIOY=2147483648u;\r\n"), std::string::npos);
    EXPECT_EQ(code.find("RESRATIOZ"), std::string::npos);
    EXPECT_NE(code.find("  // Increment position with (X, Y) = (10[mm], 20[mm])\r\n"
                        "  LPOS1 10000L, 20000L; LPOS2 10000L, 20000L;\r\n"),
              std::string::npos);
    EXPECT_NE(code.find("  LPOS1 0L, 0L; LPOS2 0L, 0L;\r\n  WMC (E, B);"), std::string::npos);
}

TEST_F(CodeGenerator, ConfigurationBlockFollowsItsOptions) {
    const std::string unconfigured = Translate(Element("ConfigureMode=0\n"));
    EXPECT_EQ(unconfigured.rfind("  VACC = 1;", 0), 0u);

    const std::string keep = Translate(Element("ClearBuffer=0\n"));
    EXPECT_EQ(keep.rfind("  SETMODE 0x4F00; //Leave buffer intact\r\n", 0), 0u);

    // A rotary Y makes the axes unusable as a set: no ratios, plain numbers.
    const std::string noUnits = Translate(
        "ProfileType=0\nConfigureMode=1\nClearBuffer=1\nSlaveX=0\nSlaveY=3\n"
        "X_TPOS[]=5\nY_TPOS[]=7\nCACC[]=0\nCSPD[]=0\nExecute=0\n");
    EXPECT_EQ(noUnits,
              "  SETMODE 0xCF00; //Clear buffer\r\n  LPLANE (A, D);\r\n"
              "  MODE LI; // Set Linear Interpolation Mode\r\n"
              "  // Increment position with (X, Y) = (5[], 7[])\r\n"
              "  LPOS1 5L, 7L; LPOS2 5L, 7L;\r\n  UPD; //Execute immediate\r\n");
}

TEST_F(CodeGenerator, WaitNeedsTheEndSegment) {
    const std::string code = Translate(Element("InsertEndSegment=0\n"));
    EXPECT_EQ(code.find("Insert End Segment"), std::string::npos);
    EXPECT_EQ(code.find("WMC"), std::string::npos);
    EXPECT_EQ(Translate(Element("WaitForCompletion=0\n")).find("WMC"), std::string::npos);
}

TEST_F(CodeGenerator, EqualResolutionGivesRatioZero) {
    const std::string code = Translate(Element("ProfileType=0\nSlaveY=4\n"));
    EXPECT_NE(code.find("  RESRATIOX=0u;\r\n  RESRATIOY=0u;\r\n"), std::string::npos);
}

TEST_F(CodeGenerator, RefusedElementReturnsOnlyTheMessages) {
    EXPECT_EQ(Translate(Element("SlaveY=0\n")), "refused: Invalid value of SlaveY!\r\n");
    EXPECT_EQ(Translate(Element("X_TPOS[mm]=0 1\nY_TPOS[mm]=0 2\nZ_TPOS[mm]=0 3\n")),
              "refused: Illegal position increment values!\n"
              "Segments cannot have all increments equal to 0.");
}

TEST_F(CodeGenerator, ModelWithoutSegmentsGivesOnlyTheConfiguration) {
    CInternalData data(project.controller, project.motion);
    CString error;
    ASSERT_EQ(data.ReadParameters(CString(Element()), error), 1);
    data.m_pPositionX->SetValuesCount(0);
    EXPECT_EQ(data.GenerateMotionCode().str(),
              "  SETMODE 0xCF00; //Clear buffer\r\n  LPLANE (A, B, C);\r\n"
              "  RESRATIOX=0u;\r\n  RESRATIOY=2147483648u;\r\n  RESRATIOZ=1073741824u;\r\n"
              "  MODE LI; // Set Linear Interpolation Mode\r\n");
    data.m_nConfigureMode = 0;
    EXPECT_EQ(data.GenerateMotionCode().str(), "");
}

}  // namespace
