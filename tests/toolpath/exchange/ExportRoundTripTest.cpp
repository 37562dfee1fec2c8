// Importing an export gives back the same counts, and the same speeds where the form has them.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/support/TestProject.h"
#include "tests/toolpath/PathTestSupport.h"
#include "toolpath/element/ElementPath.h"
#include "toolpath/element/ElementWriter.h"
#include "toolpath/exchange/CsvReader.h"
#include "toolpath/exchange/CsvWriter.h"
#include "toolpath/exchange/GcodeReader.h"
#include "toolpath/exchange/GcodeWriter.h"
#include "toolpath/exchange/SegmentBuilder.h"

namespace {

struct Case {
    TestDrive drive;
    ColumnUnits units;
};

// An element of random segments on three drives like the case's.
ElementPath RandomElement(TestProject& project, const Case& c, std::mt19937& random) {
    project.AddSlaves(3, c.drive);
    const ElementPath layout =
        ReadElementPath(kDefault3D, "test.element", project.controller, project.motion);
    std::uniform_int_distribution<std::int32_t> counts(-40000, 40000);
    std::uniform_int_distribution<int> rate(1, 400000);
    std::vector<PathSegment> segments(3000);
    for (size_t i = 0; i < segments.size(); ++i) {
        for (auto& axis : segments[i].counts) axis = counts(random) | 1;
        segments[i].accelerationLiteral = i % 5 ? 0.0 : rate(random) / 65536.0;
        segments[i].speedLiteral = i % 4 ? 0.0 : rate(random) / 65536.0;
    }
    const std::string element = WithColumns(kDefault3D, segments, layout.units, c.units, true);
    return ReadElementPath(element, "test.element", project.controller, project.motion);
}

BuiltSegments Import(const ImportedPath& imported, const ElementPath& element) {
    PathScales scales;
    for (size_t axis = 0; axis < 3; ++axis)
        scales.position[axis] = ScaleToInternal(element.units, imported.units.position[axis]);
    scales.speed = ScaleToInternal(element.units, imported.units.speed);
    scales.acceleration = ScaleToInternal(element.units, imported.units.acceleration);
    return BuildSegments(imported, scales, "export");
}

void ExpectSameCounts(const ElementPath& element, const BuiltSegments& back) {
    ASSERT_EQ(back.segments.size(), element.segments.size());
    for (size_t i = 0; i < element.segments.size(); ++i)
        ASSERT_EQ(back.segments[i].counts, element.segments[i].counts) << i;
}

const Case kCases[] = {
    {{"mm", 2000, 5.0, 0.001, true}, {{"mm", "mm", "mm"}, "m/s", "m/s^2"}},
    {{"mm", 3000, 5.0, 0.0005, true}, {{"mm", "um", "m"}, "mm/s", "mm/s^2"}},
    {{"in", 1000, 0.2, 0.001, true}, {{"in", "mil", "in"}, "in/s", "in/s^2"}},
    {{"mm", 4096, 4.0, 0.00025, true}, {{"in", "mm", "mm"}, "m/s", "m/s^2"}},
};

TEST(ExportRoundTrip, CsvIncrementsAndPositionsGiveBackTheCountsAndRates) {
    std::mt19937 random(3);
    for (const Case& c : kCases) {
        TestProject project;
        const ElementPath element = RandomElement(project, c, random);
        for (bool absolute : {false, true}) {
            const CsvOptions options{absolute, true, &element.units, c.units};
            const BuiltSegments back =
                Import(ReadCsv(WriteCsv(element, absolute), "export.csv", options), element);
            ExpectSameCounts(element, back);
            for (size_t i = 0; i < element.segments.size(); ++i) {
                ASSERT_EQ(back.segments[i].speedLiteral, element.segments[i].speedLiteral);
                ASSERT_EQ(back.segments[i].accelerationLiteral,
                          element.segments[i].accelerationLiteral);
            }
        }
    }
}

TEST(ExportRoundTrip, GcodeGivesBackTheCountsAndTheSpeedsWhereTheyChange) {
    std::mt19937 random(4);
    for (const Case& c : kCases) {
        TestProject project;
        const ElementPath element = RandomElement(project, c, random);
        const std::string program = WriteGcode(element, "element (one)");
        EXPECT_EQ(program.rfind(c.units.position[0] == "in" ? "(element _one_)\nG20 G90\n"
                                                            : "(element _one_)\nG21 G90\n",
                                0),
                  0u);
        const BuiltSegments back = Import(ReadGcode(program, "export.nc", {}), element);
        ExpectSameCounts(element, back);
        double speed = 0.0;
        for (size_t i = 0; i < element.segments.size(); ++i) {
            const double literal = element.segments[i].speedLiteral;
            const bool changes = literal != 0.0 && literal != speed;
            ASSERT_EQ(back.segments[i].speedLiteral, changes ? literal : 0.0) << i;
            if (changes) speed = literal;
        }
    }
}

TEST(ExportRoundTrip, RotaryElementsHaveNoGcodeForm) {
    TestProject project;
    std::mt19937 random(5);
    const ElementPath element = RandomElement(
        project, {{"deg", 4096, 360, 0.001, true}, {{"rot", "rot", "rot"}, "rad/s", "rad/s^2"}},
        random);
    EXPECT_EQ(RefusalOf([&] { WriteGcode(element, "rotary"); }),
              "rotary: only an element on linear axes has a G-code form; export it as CSV");
}

}  // namespace
