#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "host/CString.h"
#include "module/model/CInternalData.h"
#include "module/plugin/VantrelExports.h"
#include "tests/support/TestProject.h"
#include "toolpath/element/ElementProblems.h"

namespace {

// Two 1/400 mm axes and a 1/1024 mm one, with slave 3 axis-less and slave 4 without a drive.
class ElementProblemsTest : public ::testing::Test {
  protected:
    ElementProblemsTest() {
        project.AddSlaves(3, TestDrive{"mm", 2000, 5.0, 0.001, true});
        project.AddSlave(0, &drive);
        project.AddSlave(5, nullptr);
        const TestDrive open{"mm", 2000, 5.0, 0.001, false};
        project.AddSlave(6, &open);
    }

    std::vector<std::string> Located(const std::string& element) {
        std::vector<std::string> texts;
        for (const ElementProblem& problem :
             LocateElementProblems(element, project.controller, project.motion).located)
            texts.push_back(problem.Text());
        return texts;
    }

    bool ModuleAccepts(const std::string& element) {
        CString code;
        return TranslateMotionSequence(project.controller, project.motion, CString(element),
                                       code) != 0;
    }

    TestDrive drive;
    TestProject project;
};

std::string Element2D(const std::string& x, const std::string& y, const std::string& cacc,
                      const std::string& cspd, const std::string& slaves = "SlaveX=0\nSlaveY=1\n") {
    return "ProfileType=0\n" + slaves + "X_TPOS[mm]=" + x + "\nY_TPOS[mm]=" + y +
           "\nCACC[m/s^2]=" + cacc + "\nCSPD[m/s]=" + cspd + "\nExecute=0\n";
}

TEST_F(ElementProblemsTest, AcceptedElementsHaveNone) {
    const std::string element = Element2D("1 0", "0 1", "1 0", "0.1 0");
    ASSERT_TRUE(ModuleAccepts(element));
    const ElementProblems problems =
        LocateElementProblems(element, project.controller, project.motion);
    EXPECT_EQ(problems.total, 0u);
    EXPECT_TRUE(problems.located.empty());
}

TEST_F(ElementProblemsTest, EveryZeroSegmentIsNamedFromZeroAsTheModuleCountsCounts) {
    // 0.001 mm rounds to no count of a 0.0025 mm axis; Z does not count in a 2D element.
    EXPECT_EQ(Located(Element2D("1 0 0.001 0 2", "0 1 0 0 0", "0 0 0 0 0", "0 0 0 0 0")),
              (std::vector<std::string>{"segment 2: all increments are 0",
                                        "segment 3: all increments are 0"}));
    EXPECT_EQ(Located("ProfileType=1\nSlaveX=0\nSlaveY=1\nSlaveZ=2\nX_TPOS[mm]=0 0\n"
                      "Y_TPOS[mm]=0 0\nZ_TPOS[mm]=0.003 0\nCACC[m/s^2]=0 0\nCSPD[m/s]=0 0\n"
                      "Execute=0\n"),
              (std::vector<std::string>{"segment 1: all increments are 0"}));
}

// The first zero segment located is the one the module's validation stops at, on random
// elements whose values lie near a count.
TEST_F(ElementProblemsTest, FirstZeroSegmentIsTheModulesOnRandomElements) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pick(0, 3);
    const char* values[] = {"0", "0.001", "0.0013", "0.0025"};
    for (int round = 0; round < 200; ++round) {
        std::string x, y;
        for (int i = 0; i < 8; ++i) {
            x += std::string(i ? " " : "") + values[pick(random)];
            y += std::string(i ? " " : "") + values[pick(random)];
        }
        const std::string element = Element2D(x, y, "0 0 0 0 0 0 0 0", "0 0 0 0 0 0 0 0");
        CInternalData data(project.controller, project.motion);
        ASSERT_TRUE(data.ReadEntries(CString(element)).IsEmpty());
        int segment = -1;
        const bool refused = !data.ValidateSegments(&segment).IsEmpty();
        const ElementProblems problems =
            LocateElementProblems(element, project.controller, project.motion);
        ASSERT_EQ(refused, problems.total > 0) << element;
        if (refused) {
            EXPECT_EQ(problems.located.front().segment, segment) << element;
        }
    }
}

TEST_F(ElementProblemsTest, EveryBadValueIsNamedWithItsSegment) {
    EXPECT_EQ(Located(Element2D("1 abc 2 1e99", "0 1 1 1", "0 0 0 0", "0 0 0 0")),
              (std::vector<std::string>{
                  "segment 1: X_TPOS value \"abc\" is not a number",
                  "segment 3: X_TPOS value \"1e99\" is out of range (allowed -5368709.12 to "
                  "5368709.118 mm)",
                  "CACC: holds 4 values, but X_TPOS could not be read, so there are no "
                  "segments to match",
                  "CSPD: holds 4 values, but X_TPOS could not be read, so there are no "
                  "segments to match"}));
}

TEST_F(ElementProblemsTest, NegativeDynamicsAndCountsAreNamed) {
    EXPECT_EQ(Located(Element2D("1 2 3", "0 0 0", "0 -1 0", "0 0 -0.5")),
              (std::vector<std::string>{
                  "segment 1: CACC value \"-1 m/s^2\" is negative; 0 means none of the "
                  "segment's own",
                  "segment 2: CSPD value \"-0.5 m/s\" is negative; 0 means none of the "
                  "segment's own"}));
    EXPECT_EQ(Located(Element2D("1 2 3", "0 0", "0 0 0", "0")),
              (std::vector<std::string>{"Y_TPOS: holds 2 values, X_TPOS 3: one is needed for "
                                        "each segment",
                                        "CSPD: holds 1 value, X_TPOS 3: one is needed for each "
                                        "segment"}));
    EXPECT_EQ(Located(Element2D("", "0", "0", "0")).front(),
              "X_TPOS: holds no values; an element has at least one segment");
}

TEST_F(ElementProblemsTest, SlavesTheModuleRefusesAreNamedWithTheReason) {
    const struct {
        const char* slaves;
        const char* problem;
    } cases[] = {
        {"SlaveX=1\nSlaveY=1\n", "SlaveY: slave 1 is already SlaveX's"},
        {"SlaveX=0\nSlaveY=3\n", "SlaveY: slave 3 has no axis (its axis id is 0)"},
        {"SlaveX=0\nSlaveY=4\n", "SlaveY: slave 4 has no drive"},
        {"SlaveX=5\nSlaveY=0\n", "SlaveX: slave 5's drive does not run in closed position"},
        {"SlaveX=6\nSlaveY=0\n", "SlaveX: slave 6 is not on the controller (it has slaves 0 to 5)"},
    };
    for (const auto& [slaves, problem] : cases) {
        const std::string element = Element2D("1", "1", "0", "0", slaves);
        EXPECT_FALSE(ModuleAccepts(element)) << slaves;
        EXPECT_EQ(Located(element).front(), problem) << slaves;
    }
}

TEST_F(ElementProblemsTest, SlavesPastZHaveNoAxisLetter) {
    TestProject many;
    many.AddSlaves(28, drive);
    const std::string element = Element2D("1", "1", "0", "0", "SlaveX=0\nSlaveY=26\n");
    const ElementProblems problems = LocateElementProblems(element, many.controller, many.motion);
    ASSERT_FALSE(problems.located.empty());
    EXPECT_EQ(problems.located.front().Text(),
              "SlaveY: slave 26 has no axis letter (slaves 0 to 25 are A to Z)");
}

TEST_F(ElementProblemsTest, UnitsOnAxesWithoutACommonUnitAreNamed) {
    TestProject mixed;
    const TestDrive inch{"in", 1000, 0.2, 0.001, true};
    mixed.AddSlave(1, &drive);
    mixed.AddSlave(2, &inch);
    const std::string element =
        "ProfileType=0\nSlaveX=0\nSlaveY=1\nX_TPOS[mm]=1\nY_TPOS[]=1\n"
        "CACC[]=0\nCSPD[]=0\nExecute=0\n";
    const ElementProblems problems = LocateElementProblems(element, mixed.controller, mixed.motion);
    // The module then counts no segments of X, so the dynamics' counts are refused too.
    ASSERT_EQ(problems.located.size(), 3u);
    EXPECT_EQ(problems.located[2].Text(),
              "CSPD: holds 1 value, but X_TPOS could not be read, so there are no segments to "
              "match");
    EXPECT_EQ(problems.located[0].entry, "X_TPOS");
    EXPECT_EQ(problems.located[0].value, "mm");
    EXPECT_NE(problems.located[0].problem.find("write X_TPOS[] or X_TPOS[IU]"), std::string::npos);
}

TEST_F(ElementProblemsTest, LongListsAreCutShortButCounted) {
    const size_t n = kMostLocatedProblems + 5;
    std::string zeros;
    for (size_t i = 0; i < n; ++i) zeros += i ? " 0" : "0";
    const ElementProblems problems = LocateElementProblems(Element2D(zeros, zeros, zeros, zeros),
                                                           project.controller, project.motion);
    EXPECT_EQ(problems.total, n);
    EXPECT_EQ(problems.located.size(), kMostLocatedProblems);
}

}  // namespace
