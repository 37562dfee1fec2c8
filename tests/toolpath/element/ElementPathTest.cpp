#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "host/CString.h"
#include "module/plugin/VantrelExports.h"
#include "tests/support/TestProject.h"
#include "toolpath/element/ElementPath.h"
#include "toolpath/element/PathError.h"

namespace {

// What the program of an element tells per segment: the LPOS operands and the VACC and VSPD
// operands written before it (0 where none is written).
struct ProgramSegment {
    std::vector<long long> counts;
    double acceleration = 0.0;
    double speed = 0.0;
};

std::vector<ProgramSegment> SegmentsOfProgram(const std::string& program) {
    static const std::regex lpos(R"(^  LPOS1 ([^;]*);)");
    static const std::regex vacc(R"(^  VACC = ([^;]*);)");
    static const std::regex vspd(R"(^  VSPD = ([^;]*);)");
    std::vector<ProgramSegment> segments;
    ProgramSegment next;
    bool endSegment = false;
    std::istringstream lines(program);
    std::string line;
    std::smatch match;
    while (std::getline(lines, line)) {
        if (line.find("// Insert End Segment") != std::string::npos) endSegment = true;
        if (std::regex_search(line, match, vacc)) next.acceleration = std::stod(match[1]);
        if (std::regex_search(line, match, vspd)) next.speed = std::stod(match[1]);
        if (endSegment || !std::regex_search(line, match, lpos)) continue;
        std::istringstream operands(match[1].str());
        std::string operand;
        while (std::getline(operands, operand, ',')) next.counts.push_back(std::stoll(operand));
        segments.push_back(next);
        next = ProgramSegment();
    }
    return segments;
}

std::string Translate(TestProject& project, const std::string& element) {
    CString code;
    EXPECT_TRUE(TranslateMotionSequence(project.controller, project.motion, CString(element), code))
        << code.str();
    return code.str();
}

// The reading agrees with the program the module writes, operand for operand.
void ExpectSameAsProgram(TestProject& project, const std::string& element) {
    const std::vector<ProgramSegment> program = SegmentsOfProgram(Translate(project, element));
    const ElementPath path =
        ReadElementPath(element, "test.element", project.controller, project.motion);
    ASSERT_EQ(path.segments.size(), program.size()) << element;
    for (size_t s = 0; s < program.size(); ++s) {
        const PathSegment& segment = path.segments[s];
        ASSERT_EQ(program[s].counts.size(), static_cast<size_t>(path.axisCount));
        for (size_t a = 0; a < program[s].counts.size(); ++a)
            EXPECT_EQ(segment.counts[a], program[s].counts[a]) << "segment " << s << "\n"
                                                               << element;
        EXPECT_NEAR(segment.accelerationLiteral, program[s].acceleration, 1.0 / 65536.0);
        EXPECT_NEAR(segment.speedLiteral, program[s].speed, 1.0 / 65536.0);
    }
}

std::string Join(const std::vector<double>& values) {
    std::ostringstream text;
    text.precision(10);
    for (size_t i = 0; i < values.size(); ++i) text << (i ? " " : "") << values[i];
    return text.str();
}

// An element of count random segments with the position unit given for each column.
std::string RandomElement(std::mt19937& random, int axisCount, int count,
                          const std::vector<std::string>& positionUnits,
                          const std::string& accelerationUnit, const std::string& speedUnit) {
    std::uniform_real_distribution<double> increment(-50.0, 50.0);
    std::uniform_int_distribution<int> pick(0, 3);
    std::string text = "ProfileType=" + std::to_string(axisCount - 2) + "\nSlaveX=0\nSlaveY=1\n" +
                       (axisCount == 3 ? "SlaveZ=2\n" : "");
    for (int a = 0; a < axisCount; ++a) {
        std::vector<double> values;
        for (int s = 0; s < count; ++s) values.push_back(increment(random));
        text += std::string(1, AxisLetter(a)) + "_TPOS[" + positionUnits[size_t(a)] +
                "]=" + Join(values) + "\n";
    }
    std::vector<double> accelerations, speeds;
    for (int s = 0; s < count; ++s) {
        accelerations.push_back(pick(random) == 0 ? 0.0 : 0.1 * pick(random) + 0.37);
        speeds.push_back(pick(random) == 0 ? 0.0 : 0.01 * pick(random) + 0.013);
    }
    return text + "CACC[" + accelerationUnit + "]=" + Join(accelerations) + "\nCSPD[" + speedUnit +
           "]=" + Join(speeds) + "\nExecute=0\n";
}

TestDrive Drive(const char* unit, double counts, double travel) {
    return TestDrive{unit, counts, travel, 0.0005, true};
}

void AddDrives(TestProject& project, const std::vector<TestDrive>& drives) {
    for (const TestDrive& drive : drives) project.AddSlave(project.slaveCount + 1, &drive);
}

struct AgreementCase {
    const char* name;
    std::vector<TestDrive> drives;
    std::vector<std::string> positionUnits;
    const char* accelerationUnit;
    const char* speedUnit;
};

TEST(ElementPathAgreesWithTheProgram, OnRandomElementsWhicheverAxisIsTheReference) {
    const AgreementCase cases[] = {
        {"X finest",
         {Drive("mm", 8192, 2.0), Drive("mm", 4000, 10.0)},
         {"mm", "mm"},
         "m/s^2",
         "m/s"},
        {"Y finest, columns in other units of the family",
         {Drive("mm", 1000, 3.0), Drive("m", 2500, 0.0071)},
         {"um", "in"},
         "in/s^2",
         "mm/s"},
        {"Z finest",
         {Drive("mm", 4000, 10.0), Drive("mm", 4000, 10.0), Drive("mm", 4096, 4.0)},
         {"mm", "mm", "mm"},
         "m/s^2",
         "m/s"},
        {"Y and Z tie",
         {Drive("deg", 4096, 360.0), Drive("deg", 8192, 360.0), Drive("rot", 8192, 1.0)},
         {"deg", "rot", "rad"},
         "rad/s^2",
         "rpm"},
        // One resolution in different units is a tie despite rounding; the earlier axis's sample
        // time then makes the speeds' internal unit.
        {"X, Y and Z tie, in mm, m and um per revolution",
         {TestDrive{"mm", 2000, 5.0, 0.001, true}, TestDrive{"m", 2000, 0.005, 0.0005, true},
          TestDrive{"um", 2000, 5000.0, 0.00025, true}},
         {"mm", "mm", "mm"},
         "m/s^2",
         "m/s"},
        {"X, Y and Z tie, in m, mm and um per revolution",
         {TestDrive{"m", 2000, 0.005, 0.0005, true}, TestDrive{"mm", 2000, 5.0, 0.001, true},
          TestDrive{"um", 2000, 5000.0, 0.00025, true}},
         {"mm", "mm", "mm"},
         "m/s^2",
         "m/s"},
    };
    std::mt19937 random(1);
    for (const AgreementCase& agreement : cases) {
        SCOPED_TRACE(agreement.name);
        TestProject project;
        AddDrives(project, agreement.drives);
        const int axisCount = static_cast<int>(agreement.drives.size());
        for (int round = 0; round < 20; ++round) {
            ExpectSameAsProgram(project,
                                RandomElement(random, axisCount, 30, agreement.positionUnits,
                                              agreement.accelerationUnit, agreement.speedUnit));
        }
    }
}

TEST(ElementPathAgreesWithTheProgram, WhenTheAxesHaveNoCommonUnits) {
    TestProject project;
    AddDrives(project, {Drive("mm", 2000, 5.0), Drive("in", 1000, 0.2)});
    ExpectSameAsProgram(project,
                        "ProfileType=0\nSlaveX=0\nSlaveY=1\nX_TPOS[]=4000 0 -4000\n"
                        "Y_TPOS[]=0 2000 -2000\nCACC[]=0.02 0 0\nCSPD[]=0.5 0 0.25\nExecute=0\n");
}

class ElementPathOnAGantry : public ::testing::Test {
  protected:
    ElementPathOnAGantry() {
        AddDrives(project,
                  {Drive("mm", 4000, 10.0), Drive("mm", 4000, 10.0), Drive("mm", 4096, 4.0)});
    }
    ElementPath Read(const std::string& element) {
        return ReadElementPath(element, "test.element", project.controller, project.motion);
    }
    TestProject project;
};

TEST_F(ElementPathOnAGantry, ColumnsAreHeldInCountsOfTheFinestAxis) {
    const ElementPath path = Read(
        "ProfileType=1\nSlaveX=0\nSlaveY=1\nSlaveZ=2\nX_TPOS[mm]=20 5\nY_TPOS[mm]=0 5\n"
        "Z_TPOS[um]=0 -1500\nCACC[m/s^2]=1 0\nCSPD[mm/s]=100 0\nExecute=0\n");
    EXPECT_EQ(path.axisCount, 3);
    EXPECT_EQ(path.unitKind, UnitKind::Linear);
    EXPECT_EQ(path.slaves, (std::array<int, 3>{0, 1, 2}));
    ASSERT_EQ(path.segments.size(), 2u);
    // One count of the 4 mm / 4096 screw is 1/1024 mm.
    EXPECT_EQ(path.segments[0].counts, (Counts{20480, 0, 0}));
    EXPECT_EQ(path.segments[1].counts, (Counts{5120, 5120, -1536}));
    EXPECT_EQ(path.columnUnits.position[0], "mm");
    EXPECT_EQ(path.columnUnits.position[2], "um");
    EXPECT_DOUBLE_EQ(path.Increment(1, 2), -1500.0);
    EXPECT_DOUBLE_EQ(path.Increment(0, 0), 20.0);
    EXPECT_EQ(path.columnUnits.speed, "mm/s");
    EXPECT_NEAR(path.Speed(0), 100.0, 1e-3);
    EXPECT_EQ(path.Speed(1), 0.0);
    EXPECT_NEAR(path.Acceleration(0), 1.0, 1e-4);
    EXPECT_EQ(path.scales.baseLengthUnit, "m");
    EXPECT_DOUBLE_EQ(path.scales.position[0].basePerInternal, 1e-3 / 1024.0);
    EXPECT_DOUBLE_EQ(path.scales.speed.basePerInternal, 1e-3 / 1024.0 / 0.0005);
    EXPECT_DOUBLE_EQ(path.scales.acceleration.basePerInternal, 1e-3 / 1024.0 / 0.0005 / 0.0005);
}

TEST_F(ElementPathOnAGantry, TwoAxisElementLeavesZEmpty) {
    const ElementPath path = Read(
        "ProfileType=0\nSlaveX=2\nSlaveY=0\nX_TPOS[mm]=1\nY_TPOS[mm]=2\nZ_TPOS[mm]=3\n"
        "CACC[m/s^2]=1\nCSPD[m/s]=1\nExecute=0\n");
    EXPECT_EQ(path.axisCount, 2);
    EXPECT_EQ(path.slaves, (std::array<int, 3>{2, 0, -1}));
    EXPECT_EQ(path.segments[0].counts, (Counts{1024, 2048, 0}));
    EXPECT_EQ(path.columnUnits.position[2], "");
}

TEST_F(ElementPathOnAGantry, UnreadableElementThrowsTheHostsMessages) {
    try {
        Read(
            "ProfileType=0\nSlaveX=0\nSlaveY=1\nX_TPOS[mm]=1 2\nY_TPOS[mm]=abc\n"
            "CACC[m/s^2]=1\nCSPD[m/s]=1\nExecute=0\n");
        FAIL() << "no error";
    } catch (const PathError& error) {
        EXPECT_NE(std::string(error.what()).find("Y_TPOS"), std::string::npos) << error.what();
    }
    EXPECT_THROW(Read("ProfileType=0\nSlaveX=0\nSlaveY=1\nX_TPOS[mm]=1 2\nY_TPOS[mm]=1\n"
                      "CACC[m/s^2]=1\nCSPD[m/s]=1\nExecute=0\n"),
                 PathError);
}

}  // namespace
