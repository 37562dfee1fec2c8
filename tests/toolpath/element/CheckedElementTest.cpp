#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "host/CString.h"
#include "module/plugin/VantrelExports.h"
#include "tests/support/TestProject.h"
#include "toolpath/element/ElementProblems.h"

namespace {

// Two 1/400 mm axes and a 1/1024 mm one, with slave 3 axis-less and slave 4 without a drive,
// as the problem locator's tests use them.
class CheckedElementTest : public ::testing::Test {
  protected:
    CheckedElementTest() {
        project.AddSlaves(3, TestDrive{"mm", 2000, 5.0, 0.001, true});
        project.AddSlave(0, &drive);
        project.AddSlave(5, nullptr);
    }

    bool ModuleAccepts(const std::string& element) {
        CString code;
        return TranslateMotionSequence(project.controller, project.motion, CString(element),
                                       code) != 0;
    }

    // The verdict-only reading must agree with the reading that builds the path.
    bool HostAccepts(const std::string& element) {
        const bool accepted =
            ReadAcceptedElement(CString(element), project.controller, project.motion).has_value();
        EXPECT_EQ(ReadingAccepts(CString(element), project.controller, project.motion), accepted)
            << element;
        return accepted;
    }

    TestDrive drive;
    TestProject project;
};

const char* const kValid3D =
    "ProfileType=1\nConfigureMode=1\nClearBuffer=1\nInsertEndSegment=1\nSlaveX=0\nSlaveY=1\n"
    "SlaveZ=2\nX_TPOS[mm]=1 -0.5 0.0025\nY_TPOS[mm]=0 0.25 0\nZ_TPOS[mm]=0.001 0 0\n"
    "CACC[m/s^2]=1 0 2.5\nCSPD[m/s]=0.1 0 0.05\nExecute=0\nWaitForCompletion=1\n";

// Each a fault the module refuses, or a variation it takes.
const std::vector<std::string> kVariants = {
    kValid3D,
    "ProfileType=0\nSlaveX=0\nSlaveY=1\nX_TPOS[mm]=1 2\nY_TPOS[mm]=0 1\nCACC[m/s^2]=0 0\n"
    "CSPD[m/s]=0 0\nExecute=0\n",
    "ProfileType=2\nSlaveX=0\nSlaveY=1\nX_TPOS[mm]=1\nY_TPOS[mm]=0\nCACC[m/s^2]=0\n"
    "CSPD[m/s]=0\nExecute=0\n",
    "ProfileType=0\nSlaveX=0\nSlaveY=0\nX_TPOS[mm]=1\nY_TPOS[mm]=0\nCACC[m/s^2]=0\n"
    "CSPD[m/s]=0\nExecute=0\n",
    "ProfileType=0\nSlaveX=0\nSlaveY=4\nX_TPOS[mm]=1\nY_TPOS[mm]=0\nCACC[m/s^2]=0\n"
    "CSPD[m/s]=0\nExecute=0\n",
    "ProfileType=0\nSlaveX=0\nSlaveY=1\nX_TPOS[mm]=1 0\nY_TPOS[mm]=0 0\nCACC[m/s^2]=0 0\n"
    "CSPD[m/s]=0 0\nExecute=0\n",
    "ProfileType=0\nSlaveX=0\nSlaveY=1\nX_TPOS[mm]=1\nY_TPOS[mm]=0\nCACC[m/s^2]=-1\n"
    "CSPD[m/s]=0\nExecute=0\n",
    "ProfileType=0\nSlaveX=0\nSlaveY=1\nX_TPOS[mm]=1 2\nY_TPOS[mm]=0\nCACC[m/s^2]=0 0\n"
    "CSPD[m/s]=0 0\nExecute=0\n",
    "ProfileType=0\nSlaveX=0\nSlaveY=1\nX_TPOS[furlong]=1\nY_TPOS[mm]=0\nCACC[m/s^2]=0\n"
    "CSPD[m/s]=0\nExecute=0\n",
    "ProfileType=0\nSlaveX=0\nSlaveY=1\nX_TPOS[mm]=1\nY_TPOS[mm]=0\nCACC[m/s^2]=0\n"
    "CSPD[m/s]=0\n",
    "ProfileType=0\nSlaveX=0\nSlaveY=1\nX_TPOS[mm]=1\nY_TPOS[mm]=0\nCACC[m/s^2]=0\n"
    "CSPD[m/s]=0\nExecute=1\n",
    "ProfileType=0\nSlaveX=0\nSlaveY=1\nX_TPOS[mm]=1\nY_TPOS[mm]=0\nCACC[m/s^2]=0\n"
    "CSPD[m/s]=0\nExecute=0\nConfigureMode=7\n",
    "ProfileType=0\nSlaveX=0\nSlaveY=1\nX_TPOS[mm]=\nY_TPOS[mm]=\nCACC[m/s^2]=\n"
    "CSPD[m/s]=\nExecute=0\n",
};

TEST_F(CheckedElementTest, AcceptsExactlyWhatTheModuleAccepts) {
    for (const std::string& element : kVariants)
        EXPECT_EQ(HostAccepts(element), ModuleAccepts(element)) << element;
}

// Faults made at random in a valid element: a character replaced, dropped or doubled.
TEST_F(CheckedElementTest, AcceptsWhatTheModuleAcceptsOnDamagedElements) {
    std::mt19937 random(25);
    const std::string valid = kValid3D;
    const std::string replacements = "0123456789 .-+e=[]\nXZ";
    std::uniform_int_distribution<size_t> place(0, valid.size() - 1);
    std::uniform_int_distribution<size_t> pick(0, replacements.size() - 1);
    std::uniform_int_distribution<int> kind(0, 2);
    for (int round = 0; round < 2000; ++round) {
        std::string element = valid;
        for (int change = 0; change < 2; ++change) {
            const size_t at = place(random) % element.size();
            switch (kind(random)) {
                case 0:
                    element[at] = replacements[pick(random)];
                    break;
                case 1:
                    element.erase(at, 1);
                    break;
                default:
                    element.insert(at, 1, element[at]);
            }
        }
        ASSERT_EQ(HostAccepts(element), ModuleAccepts(element)) << element;
    }
}

TEST_F(CheckedElementTest, AcceptedPathIsTheOneTheReaderGives) {
    const std::optional<ElementPath> path =
        ReadAcceptedElement(CString(kValid3D), project.controller, project.motion);
    ASSERT_TRUE(path);
    const ElementPath read =
        ReadElementPath(kValid3D, "element", project.controller, project.motion);
    ASSERT_EQ(path->segments.size(), read.segments.size());
    for (size_t i = 0; i < read.segments.size(); ++i) {
        EXPECT_EQ(path->segments[i].counts, read.segments[i].counts);
        EXPECT_EQ(path->segments[i].accelerationLiteral, read.segments[i].accelerationLiteral);
        EXPECT_EQ(path->segments[i].speedLiteral, read.segments[i].speedLiteral);
    }
    EXPECT_EQ(path->columnUnits.speed, read.columnUnits.speed);
    EXPECT_EQ(path->unitKind, read.unitKind);
    EXPECT_EQ(path->slaves, read.slaves);
}

}  // namespace
