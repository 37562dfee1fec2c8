#include <gtest/gtest.h>

#include <string>

#include "host/CMC_Units.h"
#include "tests/support/TestProject.h"
#include "tests/toolpath/PathTestSupport.h"
#include "toolpath/exchange/CsvReader.h"

namespace {

const CMC_Units kDrive = TestDrive{}.Units();

CsvOptions Options(bool threeAxes = true, bool absolute = false) {
    return {absolute, threeAxes, &kDrive, {{"mm", "mm", "mm"}, "m/s", "m/s^2"}};
}

ImportedPath Read(const std::string& table, const CsvOptions& options = Options()) {
    return ReadCsv(table, "path.csv", options);
}

std::string Refusal(const std::string& table, const CsvOptions& options = Options()) {
    return RefusalOf([&] { Read(table, options); });
}

TEST(CsvLayout, DelimitersAreDetectedFromTheFirstLine) {
    for (const char* table :
         {"1,2,3\n4,5,6\n", "1;2;3\n4;5;6\n", "1\t2\t3\n4\t5\t6\n", "  1  2 3\n4 5\t 6\n",
          "\"1\",\"2\",\"3\"\r\n4, 5 ,6\r\n", "1,5;2;3\n3,5;5;6\n", "1,5\t2\t3\n3,5\t5\t6\n",
          "1 2 3\r4 5 6\r", "1,2,3\r4,5,6"}) {
        const ImportedPath path = Read(table);
        ASSERT_EQ(path.moves.size(), 2u) << table;
        EXPECT_EQ(path.moves[1].end, (Vec3{5, 7, 9})) << table;
    }
}

// Joined at a lone CR, a two-axis table's second line would be the first one's acceleration
// and speed.
TEST(CsvLayout, ALoneCarriageReturnEndsARow) {
    const ImportedPath path = Read("1 2\r3 4\r", Options(false));
    ASSERT_EQ(path.moves.size(), 2u);
    EXPECT_EQ(path.moves[1].end, (Vec3{4, 6, 0}));
    EXPECT_EQ(path.moves[0].acceleration, 0.0);
}

TEST(CsvLayout, WithoutAHeaderTheColumnsComeInTheEditorsOrder) {
    const ImportedPath path3 = Read("1 2 3\n1 2 3 0.5\n1 2 3 0.5 0.1\n");
    EXPECT_EQ(path3.moves[2].acceleration, 0.5);
    EXPECT_EQ(path3.moves[2].speed, 0.1);
    const ImportedPath path2 = Read("1 2\n1 2 0.5 0.1\n", Options(false));
    EXPECT_EQ(path2.moves[1].end, (Vec3{2, 4, 0}));
    EXPECT_EQ(path2.moves[1].acceleration, 0.5);
    EXPECT_EQ(path2.moves[1].speed, 0.1);
}

TEST(CsvLayout, AHeaderNamesColumnsInAnyOrderWithUnits) {
    const ImportedPath path =
        Read("\xEF\xBB\xBF# exported\nSpeed[mm/s]; Y; x [in]\n\n# a comment\n20;1,5;2\n");
    ASSERT_EQ(path.moves.size(), 1u);
    EXPECT_EQ(path.moves[0].end, (Vec3{2, 1.5, 0}));
    EXPECT_EQ(path.moves[0].speed, 20.0);
    EXPECT_EQ(path.units.position[0], "in");
    EXPECT_EQ(path.units.position[1], "mm");
    EXPECT_EQ(path.units.speed, "mm/s");
    EXPECT_EQ(path.counts.lines, 5u);
}

TEST(CsvLayout, IncrementsAddUpAndAbsolutePositionsStand) {
    EXPECT_EQ(Read("x,y\n1,1\n2,2\n").moves[1].end, (Vec3{3, 3, 0}));
    EXPECT_EQ(Read("x,y\n1,1\n2,2\n", Options(true, true)).moves[1].end, (Vec3{2, 2, 0}));
}

TEST(CsvRefusals, NameTheLineAndTheColumn) {
    const std::pair<const char*, const char*> cases[] = {
        {"x,y,z\n1,2,abc\n", "path.csv:2: column 3 (z): \"abc\" is not a number"},
        {"x,y,z\n1,,3\n", "path.csv:2: column 2 (y): the value is missing"},
        {"x,y,z\n1,2\n", "path.csv:2: column 3 (z): the value is missing"},
        {"x,y\n1,2,3\n", "path.csv:2: column 3: more values than the 2 columns"},
        {"1 2\n", "path.csv:1: column 3 (z): the value is missing"},
        {"1 2 3 4 5 6\n", "path.csv:1: column 6: more values than the 5 columns"},
        {"x,y,rate\n",
         "path.csv:1: column 3: \"rate\" is not a column name (x, y, z, accel, "
         "speed or F, feed)"},
        {"x,y,speed,F\n", "path.csv:1: column 4 (speed): speed is named twice"},
        {"x,y,x\n", "path.csv:1: column 3 (x): x is named twice"},
        {"x[deg],y\n",
         "path.csv:1: column 1 (x): the unit \"deg\" does not convert into the "
         "column's unit \"mm\""},
        {"x,y[mm\n", "path.csv:1: column 2: \"y[mm\": the unit's bracket is not closed"},
        {"x,z\n", "path.csv:1: the header names no y column"},
        {"x,y,speed\n1,2,-3\n",
         "path.csv:2: column 3 (speed): \"-3\" is negative; 0 keeps "
         "the value before"},
        {"x,y\n1,2\nx,y\n", "path.csv:3: column 1 (x): \"x\" is not a number"},
        {"1,2,1e999\n", "path.csv:1: column 3 (z): \"1e999\" is out of range"},
    };
    for (const auto& [table, message] : cases) EXPECT_EQ(Refusal(table), message);
    EXPECT_EQ(Refusal("x,y,z\n", Options(false)),
              "path.csv:1: column 3 (z): a 2D element has no z column");
}

TEST(CsvBound, TheRowPastTheBoundIsRefusedWithItsLine) {
    CsvOptions options = Options();
    options.maxSegments = 2;
    EXPECT_EQ(Read("1 2 3\n# note\n4 5 6\n", options).moves.size(), 2u);
    EXPECT_EQ(Refusal("1 2 3\n# note\n4 5 6\n7 8 9\n", options),
              "path.csv:4: the import would make more than 2 segments; give --max-segments N "
              "to allow more");
}

}  // namespace
