#include <gtest/gtest.h>

#include <random>
#include <string>

#include "host/CString.h"
#include "module/plugin/VantrelExports.h"
#include "tests/support/TestProject.h"
#include "tests/toolpath/PathTestSupport.h"
#include "toolpath/element/ElementPath.h"
#include "toolpath/element/ElementWriter.h"

namespace {

std::vector<PathSegment> RandomSegments(std::mt19937& random, size_t count) {
    std::uniform_int_distribution<std::int32_t> counts(-300000, 300000);
    std::uniform_int_distribution<int> rate(0, 3000000);
    std::vector<PathSegment> segments(count);
    for (size_t i = 0; i < count; ++i) {
        for (auto& axis : segments[i].counts) axis = counts(random) | 1;
        segments[i].accelerationLiteral = rate(random) / 65536.0;
        segments[i].speedLiteral = i % 3 ? 0.0 : rate(random) / 65536.0;
    }
    return segments;
}

// The module accepts the element and reads exactly the segments' counts and rates from it.
void ExpectReadsBack(TestProject& project, const std::string& element,
                     const std::vector<PathSegment>& segments, size_t first = 0) {
    CString code;
    ASSERT_TRUE(TranslateMotionSequence(project.controller, project.motion, CString(element), code))
        << code.str();
    const ElementPath path =
        ReadElementPath(element, "test.element", project.controller, project.motion);
    ASSERT_EQ(path.segments.size(), first + segments.size());
    for (size_t i = 0; i < segments.size(); ++i) {
        const PathSegment& read = path.segments[first + i];
        for (int axis = 0; axis < path.axisCount; ++axis)
            ASSERT_EQ(read.counts[size_t(axis)], segments[i].counts[size_t(axis)]) << i;
        ASSERT_EQ(read.accelerationLiteral, segments[i].accelerationLiteral) << i;
        ASSERT_EQ(read.speedLiteral, segments[i].speedLiteral) << i;
    }
}

const ColumnUnits kLinearUnits{{"mm", "mm", "mm"}, "m/s", "m/s^2"};

TEST(ElementWriter, NewElementsReadBackExactlyInPhysicalUnitsOnAnyResolution) {
    std::mt19937 random(5);
    for (double counts : {2000.0, 3000.0, 4096.0, 7777.0}) {
        TestProject project;
        project.AddSlaves(3, TestDrive{"mm", counts, 5.0, 0.00025, true});
        const ElementPath layout =
            ReadElementPath(kDefault3D, "test.element", project.controller, project.motion);
        const std::vector<PathSegment> segments = RandomSegments(random, 200);
        const std::string element =
            WithColumns(kDefault3D, segments, layout.units, kLinearUnits, true);
        EXPECT_NE(element.find("\nX_TPOS[mm]="), std::string::npos);
        EXPECT_NE(element.find("\nCSPD[m/s]="), std::string::npos);
        ExpectReadsBack(project, element, segments);
    }
}

TEST(ElementWriter, ProfilesDropOrNeedTheZEntries) {
    const std::string twoAxes = WithProfile(kDefault3D, false, "default.element");
    EXPECT_NE(twoAxes.find("ProfileType=0\n"), std::string::npos);
    EXPECT_EQ(twoAxes.find("SlaveZ"), std::string::npos);
    EXPECT_EQ(twoAxes.find("Z_TPOS"), std::string::npos);
    EXPECT_EQ(WithProfile(twoAxes, false, "default.element"), twoAxes);
    EXPECT_EQ(RefusalOf([&] { WithProfile(twoAxes, true, "default.element"); }),
              "default.element: a 3D element needs a Z axis, and the element chooses none "
              "(SlaveZ)");
}

TEST(ElementWriter, AppendingKeepsTheElementsTextAndWritesInEachColumnsUnit) {
    TestProject project;
    project.AddSlaves(2, TestDrive{});
    const std::string element =
        "ProfileType=0\nSlaveX=0\nSlaveY=1\nX_TPOS[in]=1 \r\nY_TPOS[mm]=0.0025\n"
        "CACC[m/s^2]=0\nCSPD[mm/s]=0\nExecute=0\n";
    const ElementPath layout =
        ReadElementPath(element, "test.element", project.controller, project.motion);
    std::mt19937 random(9);
    const std::vector<PathSegment> segments = RandomSegments(random, 50);
    const std::string appended = WithAppendedColumns(element, segments, layout.units, false);
    EXPECT_EQ(appended.rfind("ProfileType=0\nSlaveX=0\nSlaveY=1\nX_TPOS[in]=1 ", 0), 0u);
    EXPECT_NE(appended.find("\nY_TPOS[mm]=0.0025 "), std::string::npos);
    EXPECT_NE(appended.find("\nCSPD[mm/s]=0 "), std::string::npos);
    ExpectReadsBack(project, appended, segments, 1);
    EXPECT_EQ(
        RefusalOf([&] { WithAppendedColumns("ProfileType=0\n", segments, layout.units, false); }),
        "the element has no X_TPOS entry to append to");
}

}  // namespace
