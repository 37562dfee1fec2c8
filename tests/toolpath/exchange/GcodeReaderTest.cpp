#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "tests/toolpath/PathTestSupport.h"
#include "toolpath/exchange/GcodeReader.h"
#include "toolpath/exchange/SegmentBuilder.h"

namespace {

ImportedPath Read(const std::string& program, GcodeOptions options = {}) {
    return ReadGcode(program, "part.nc", options);
}

std::string Refusal(const std::string& program, GcodeOptions options = {}) {
    return RefusalOf([&] { Read(program, options); });
}

void ExpectEnd(const PathMove& move, double x, double y, double z) {
    EXPECT_NEAR(move.end[0], x, 1e-9);
    EXPECT_NEAR(move.end[1], y, 1e-9);
    EXPECT_NEAR(move.end[2], z, 1e-9);
}

TEST(GcodeMoves, AbsoluteAndIncrementalPositionsAndModalMotion) {
    const ImportedPath path = Read("G90 G1 X10 Y5 F600\nX20\nG91 Y-5 Z2\nG0 X-30\nG90 Z0\n");
    ASSERT_EQ(path.moves.size(), 5u);
    ExpectEnd(path.moves[0], 10, 5, 0);
    ExpectEnd(path.moves[1], 20, 5, 0);
    ExpectEnd(path.moves[2], 20, 0, 2);
    ExpectEnd(path.moves[3], -10, 0, 2);
    ExpectEnd(path.moves[4], -10, 0, 0);
    EXPECT_EQ(path.moves[2].line, 3u);
}

// Each word's number is the correctly rounded double of its decimal, bit for bit, whether its
// digits are few enough to be summed or so many that they are read as a text.
TEST(GcodeMoves, NumbersOfEveryLengthReadAsTheirDecimals) {
    std::mt19937 random(11);
    std::string program = "G90 G1\n";
    std::vector<std::string> numbers;
    for (int i = 0; i < 3000; ++i) {
        const int digits = 1 + static_cast<int>(random() % 19);
        const int point = static_cast<int>(random() % (digits + 1));
        std::string number = random() % 3 == 0 ? "-" : random() % 5 == 0 ? "+" : "";
        for (int d = 0; d < digits; ++d) {
            if (d == point) number += '.';
            number += static_cast<char>('0' + random() % 10);
        }
        numbers.push_back(number);
        program += "X" + number + "\n";
    }
    const ImportedPath path = Read(program);
    size_t move = 0;
    double last = 0.0;
    for (const std::string& number : numbers) {
        double expected = std::strtod(number.c_str(), nullptr);
        if (expected == 0.0) expected = 0.0;  // a zero is read without its sign
        // A line that repeats the position before moves nothing.
        if (expected == last && move > 0) continue;
        ASSERT_LT(move, path.moves.size());
        const double read = path.moves[move++].end[0];
        ASSERT_EQ(std::memcmp(&read, &expected, sizeof read), 0) << number << " read as " << read;
        last = expected;
    }
}

// A program saved with CR line ends is the moves it shows: joined into one line, its moves
// would become one diagonal move that includes the plunge.
TEST(GcodeMoves, ALoneCarriageReturnEndsALine) {
    const ImportedPath path = Read("G21\rG90\rG1 F600 X10\rY10\rZ-1\r");
    ASSERT_EQ(path.moves.size(), 3u);
    ExpectEnd(path.moves[0], 10, 0, 0);
    ExpectEnd(path.moves[1], 10, 10, 0);
    ExpectEnd(path.moves[2], 10, 10, -1);
    EXPECT_EQ(path.moves[2].line, 5u);
    EXPECT_EQ(path.counts.lines, 5u);
}

TEST(GcodeMoves, InchProgramsAreReadInMillimetres) {
    const ImportedPath path = Read("G20 G1 X1 F10\nG21 X1\n");
    ASSERT_EQ(path.moves.size(), 2u);
    ExpectEnd(path.moves[0], 25.4, 0, 0);
    EXPECT_DOUBLE_EQ(path.moves[0].speed, 10 * 25.4 / 60);
    ExpectEnd(path.moves[1], 1, 0, 0);
}

TEST(GcodeMoves, CommentsNumbersAndPercentLinesAreSkippedAndMachineWordsCounted) {
    const ImportedPath path =
        Read("%\n\nN10 (start) G1 X1 F100 ; cut\nn20 g1 x 2 M3 S1000 T1 H1 D1\nO100\nM30\n%\n");
    ASSERT_EQ(path.moves.size(), 2u);
    ExpectEnd(path.moves[1], 2, 0, 0);
    EXPECT_EQ(path.counts.wordsIgnored, 6u);
    EXPECT_EQ(path.counts.lines, 7u);
}

TEST(GcodeSpeeds, FeedIsWrittenWhereTheSpeedChanges) {
    const ImportedPath path = Read("G1 X1 F600\nX2\nX3 F600\nX4 F1200\n");
    EXPECT_EQ(path.moves[0].speed, 10.0);
    EXPECT_EQ(path.moves[1].speed, 0.0);
    EXPECT_EQ(path.moves[2].speed, 0.0);
    EXPECT_EQ(path.moves[3].speed, 20.0);
    EXPECT_TRUE(path.warnings.empty());
}

TEST(GcodeSpeeds, RapidMovesTakeTheRapidSpeedAndTheFeedComesBackAfter) {
    GcodeOptions options;
    options.rapid = ProgramQuantity{6000, true};
    const ImportedPath path = Read("G1 X1 F600\nG0 X2\nG1 X3\n", options);
    EXPECT_EQ(path.moves[1].speed, 100.0);
    EXPECT_EQ(path.moves[2].speed, 10.0);
}

TEST(GcodeSpeeds, RapidMovesWithoutARapidSpeedKeepTheFeedWithAWarning) {
    const ImportedPath path = Read("G0 X1\nG1 X2 F600\nG0 X3\n");
    EXPECT_EQ(path.moves[2].speed, 0.0);
    ASSERT_EQ(path.warnings.size(), 2u);
    EXPECT_EQ(path.warnings[0],
              "part.nc:1: 2 G0 moves run at the current feed; give --rapid "
              "SPEED for a speed of their own");
}

// Chord ends of an arc lie on its circle and turn the right way round.
struct ArcCase {
    const char* program;
    int a, b, c;  // the plane's axes and the one across it
    double centreA, centreB;
    double endC;  // where the helix ends across the plane
    bool clockwise;
};

TEST(GcodeArcs, ChordEndsFollowTheCircleInEachPlaneAndDirection) {
    const ArcCase cases[] = {
        {"G17 G2 X10 Y0 I5 J0", 0, 1, 2, 5, 0, 0, true},
        {"G17 G3 X10 Y0 R5", 0, 1, 2, 5, 0, 0, false},
        {"G18 G2 X10 Z0 I5 K0", 2, 0, 1, 0, 5, 0, true},
        {"G19 G3 Y10 Z0 J5 K0 X4", 1, 2, 0, 5, 0, 4, false},
    };
    for (const ArcCase& arc : cases) {
        const ImportedPath path = Read(arc.program);
        ASSERT_GT(path.moves.size(), 8u) << arc.program;
        EXPECT_EQ(path.counts.arcs, 1u);
        EXPECT_EQ(path.counts.chords, path.moves.size());
        double lastAngle = std::atan2(-arc.centreB, -arc.centreA);
        for (size_t i = 0; i < path.moves.size(); ++i) {
            const Vec3& p = path.moves[i].end;
            const double da = p[arc.a] - arc.centreA, db = p[arc.b] - arc.centreB;
            EXPECT_NEAR(std::hypot(da, db), 5.0, 1e-9) << arc.program;
            const double angle = std::atan2(db, da);
            const double turn = std::remainder(angle - lastAngle, 2 * M_PI);
            EXPECT_EQ(turn < 0, arc.clockwise) << arc.program << " chord " << i;
            lastAngle = angle;
            const double progress =
                static_cast<double>(i + 1) / static_cast<double>(path.moves.size());
            EXPECT_NEAR(p[arc.c], arc.endC * progress, 1e-9) << arc.program;
        }
    }
}

TEST(GcodeArcs, FullCirclesAndLongRArcsSweepTheWholeWay) {
    const ImportedPath circle = Read("G2 X0 Y0 I10 J0\n");
    const ImportedPath half = Read("G3 X20 Y0 R10\n");
    const ImportedPath long_ = Read("G3 X20 Y0 R-12\n");
    ExpectEnd(circle.moves.back(), 0, 0, 0);
    EXPECT_NEAR(circle.moves[circle.moves.size() / 2].end[0], 20.0, 0.5);
    EXPECT_GT(long_.moves.size(), half.moves.size());
    EXPECT_GT(circle.moves.size(), long_.moves.size());
}

// The chords as the element holds them, rounded to counts, still keep within the tolerance.
TEST(GcodeArcs, StayWithinTheToleranceAfterRoundingToCounts) {
    const double count = 0.0025;  // mm
    GcodeOptions options;
    options.tolerance = {0.004, false};
    options.roundingAllowance = 0.5 * count * std::sqrt(2.0);
    const ImportedPath path = Read("G3 X0 Y0 I7.3 J0.2\n", options);
    const CountScale scale{1.0, count};
    const BuiltSegments built = BuildSegments(path, {{scale, scale, scale}, {}, {}}, "part.nc");
    double x = 0.0, y = 0.0, farthest = 0.0;
    const double radius = std::hypot(7.3, 0.2);
    for (size_t i = 0; i < built.segments.size(); ++i) {
        const double toX = x + static_cast<double>(built.segments[i].counts[0]) * count;
        const double toY = y + static_cast<double>(built.segments[i].counts[1]) * count;
        for (int s = 0; s <= 32; ++s) {
            const double px = x + (toX - x) * s / 32 - 7.3, py = y + (toY - y) * s / 32 - 0.2;
            farthest = std::max(farthest, std::abs(std::hypot(px, py) - radius));
        }
        x = toX;
        y = toY;
    }
    EXPECT_LE(farthest, 0.004);
    EXPECT_GT(farthest, 0.002);
}

TEST(GcodeRefusals, NameTheFileTheLineAndTheWord) {
    // The column is where the refused word starts on its line.
    const struct {
        const char* line;
        int column;
        const char* problem;
    } cases[] = {
        {"G28 X0", 1,
         "G28: returning to the home position moves the machine off the path; give --ignore G28 "
         "when it only ends the program"},
        {"G55", 1,
         "G55: work offsets other than G54 are not supported (the path is read from the "
         "program's zero point)"},
        {"G59", 1,
         "G59: work offsets other than G54 are not supported (the path is read from the "
         "program's zero point)"},
        {"G81 X1", 1, "G81: canned cycles are not supported"},
        {"G41 D1", 1, "G41: cutter compensation is not supported"},
        {"G43 H1", 1,
         "G43: tool length compensation (H1) moves Z by a length the file does not give; give "
         "--ignore G43 when Z is programmed for the tool's tip"},
        {"G1 X1 P2", 7, "P2: not supported (P and Q belong to G4 and G64 here)"},
        {"G92 X0", 1, "G92: setting coordinate offsets is not supported"},
        {"G93", 1, "G93: only feeds in units per minute (G94) are supported"},
        {"G91.1", 1, "G91.1: not supported"},
        {"M98 P100", 1, "M98: sub-programs are not supported"},
        {"G1 A5", 4,
         "A5: the element has no such axis (only X, Y and Z); give --ignore A when the axis "
         "stays where it is"},
        {"G1 X1 #1", 7, "#: unexpected character"},
        {"G1 X1 \x80", 7, "byte 0x80: unexpected character"},
        {"G1 X1 (open", 7, "(open: the comment is not closed"},
        {"G1 X", 4, "X: a number must follow the letter"},
        {"G1 X1 X2", 7, "X2: the line already has X1"},
        {"G0 G1 X1", 4, "G1: the line already has G0"},
        {"X1", 1, "X1: no motion mode (G0, G1, G2 or G3) is in effect"},
        {"G1 X1 I2", 7, "I2: I, J, K and R belong to arcs (G2, G3)"},
        {"G2 X1", 1, "G2: an arc needs its centre (I, J, K) or R"},
        {"G17 G2 X1 I1 K1", 14, "K1: K is not an offset in the G17 (XY) plane"},
        {"G2 X0 Y0 R5", 10,
         "R5: an R arc cannot end where it starts; give I, J, K for a full circle"},
        {"G2 X10 R2", 8, "R2: the radius is less than half the way to the end point"},
        {"G2 X10 Y1 I5", 1,
         "G2: the end point lies 0.0990195 mm off the arc's circle (radius 5 "
         "mm at the start, 5.09902 mm at the end)"},
        {"G1 X1 F0", 7, "F0: a feed must be above 0"},
    };
    for (const auto& [line, column, problem] : cases)
        EXPECT_EQ(Refusal(std::string("G21\n") + line + "\n"),
                  "part.nc:2:" + std::to_string(column) + ": " + problem);
}

TEST(GcodeRefusals, TwoAxisElementsRefuseZAndArcsAcrossZ) {
    GcodeOptions options;
    options.threeAxes = false;
    EXPECT_EQ(Refusal("G0 Z5\n", options), "part.nc:1:4: Z5: a 2D element has no Z axis");
    EXPECT_EQ(Refusal("G18\nG2 X10 I5\n", options),
              "part.nc:2:1: G2: an arc in the G18 (ZX) plane moves Z, which a 2D element does not "
              "have");
}

TEST(GcodeRefusals, AToleranceWithinTheRoundingToCountsIsRefusedAtTheFirstArc) {
    GcodeOptions options;
    options.tolerance = {0.0004, true};
    options.roundingAllowance = 0.001;
    EXPECT_EQ(Read("G20 G1 X1\n", options).moves.size(), 1u);
    EXPECT_EQ(Refusal("G21 G2 X10 I5\n", options),
              "part.nc:1:5: G2: the tolerance (0.0004 mm) is not above what rounding to counts "
              "may add (0.001 mm); give a larger --tolerance");
    EXPECT_EQ(Read("G20 G2 X1 I0.5\n", options).counts.arcs, 1u);
}

// Columns count characters from 1: a tab is one, and so is a character of several bytes in a
// comment, so the column matches what an editor shows.
TEST(GcodeRefusalColumns, CountCharactersWithTabsAndCommentsAsOneEach) {
    EXPECT_EQ(Refusal("G1\tX1\tL2\n"), "part.nc:1:7: L2: not supported");
    EXPECT_EQ(Refusal("(\xC3\x98 5 mm) G1 X1 L2\n"), "part.nc:1:16: L2: not supported");
    EXPECT_EQ(Refusal("G1 X1 (\xE2\x80\x94) #\n"), "part.nc:1:11: #: unexpected character");
}

TEST(GcodeRefusalColumns, AWordWithBlanksAfterItsLetterStartsAtTheLetter) {
    EXPECT_EQ(Refusal("G1   X 1 X  2\n"), "part.nc:1:10: X  2: the line already has X 1");
}

// A modal G2 is not written on the line it refuses, so there is no column to name.
TEST(GcodeRefusalColumns, AMotionModeFromAnEarlierLineHasNone) {
    EXPECT_EQ(Refusal("G2 X10 I5\nX0 Y10\n"),
              "part.nc:2: G2: an arc needs its centre (I, J, K) or R");
}

// What post-processors write around the path: left out, each kind of word warned once.
TEST(GcodeAsPostsWriteIt, WordsThatKeepTheShapeAreLeftOutWithOneWarningEach) {
    const ImportedPath path = Read(
        "%\nO1001 (PART)\nG90 G94 G17 G21\nG40 G49 G80\nG54\nT1 M6\nS8000 M3\nG43 H0 Z10\n"
        "G0 X0 Y0\nG61\nG1 Z-1 F300\nG64 P0.01 Q0.01\n/M8\nX10\nG4 P0.5\nG04 X1.5\nY10\nG28\n"
        "M30\n%\n");
    ASSERT_EQ(path.moves.size(), 5u);
    ExpectEnd(path.moves[0], 0, 0, 10);   // the G43 line's move, at rapid
    ExpectEnd(path.moves[3], 10, 0, -1);  // the dwell's X is its time, not a move
    ExpectEnd(path.moves[4], 10, 10, -1);
    const std::vector<std::string> expected = {
        "part.nc:3: G94: feeds per minute: the import reads F so anyway",
        "part.nc:4: G40: cutter compensation off: the import follows the programmed path anyway",
        "part.nc:4: G49: tool length compensation off: the import reads Z as programmed anyway",
        "part.nc:4: G80: canned cycles off: the import has none on",
        "part.nc:5: G54: the only work system: the path is read from the program's zero point",
        "part.nc:8: G43: with H0 it offsets nothing; left out",
        "part.nc:10: G61: exact stop: the controller joins the element's segments its own way",
        "part.nc:12: G64: path blending: the controller joins the element's segments its own way",
        "part.nc:13: /: block delete: the line is skipped, as with block delete on",
        "part.nc:15: G4: the element cannot dwell; the dwell is left out (2 lines; also line 16)",
        "part.nc:18: G28: without axis words it moves nothing; left out",
    };
    ASSERT_GE(path.warnings.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(path.warnings.begin(),
                                       path.warnings.begin() + static_cast<long>(expected.size())),
              expected);
    EXPECT_EQ(path.counts.wordsWithWarnings, 12u);
}

TEST(GcodeAsPostsWriteIt, EveryRefusalOfTheFileIsNamedInOnePass) {
    try {
        Read("G21\nG0 X0 Y0 A0\nG41 D1 G1 X10 F100\nG1 Y10\nG81 X5 Y5 Z-3 R1\nG2 X10 Y10 R5\n");
        FAIL() << "nothing was refused";
    } catch (const PathError& error) {
        EXPECT_EQ(error.Messages(),
                  (std::vector<std::string>{
                      "part.nc:2:10: A0: the element has no such axis (only X, Y and Z); give "
                      "--ignore A when the axis stays where it is",
                      "part.nc:3:1: G41: cutter compensation is not supported",
                      "part.nc:5:1: G81: canned cycles are not supported",
                      "part.nc:6:12: R5: an R arc cannot end where it starts; give I, J, K for a "
                      "full circle"}));
    }
    std::string many;
    for (int i = 0; i < 150; ++i) many += "G1 X1 A1\n";
    try {
        Read(many);
        FAIL() << "nothing was refused";
    } catch (const PathError& error) {
        ASSERT_EQ(error.Messages().size(), 101u);
        EXPECT_EQ(error.Messages().back(), "part.nc: and 50 more refusals");
    }
}

TEST(GcodeAsPostsWriteIt, IgnoredWordsAreLeftOutWithTheirOwnAxisWords) {
    GcodeOptions options;
    EXPECT_EQ(AddIgnoredWords("g43, G28,a", options), "");
    const ImportedPath path =
        Read("G21 G43 H1 Z15\nG0 X5 A90\nG28 G91 Z0\nG28 X0 Y0\nG90 G1 Y5 F60\n", options);
    ASSERT_EQ(path.moves.size(), 3u);
    ExpectEnd(path.moves[1], 5, 0, 15);
    ExpectEnd(path.moves[2], 5, 5, 15);
    EXPECT_EQ(AddIgnoredWords("G2", options),
              "\"G2\" is followed by the import; it cannot be ignored");
    EXPECT_NE(AddIgnoredWords("X", options).find("is not a word that can be ignored"),
              std::string::npos);
}

GcodeOptions AtMost(std::size_t segments) {
    GcodeOptions options;
    options.maxSegments = segments;
    return options;
}

TEST(GcodeBound, TheMoveOrArcThatPassesTheBoundIsRefusedWithItsPlace) {
    const std::string lines = "G1 X1 F100\nX2\nN3 X3 Y1\n";
    EXPECT_EQ(Read(lines, AtMost(3)).moves.size(), 3u);
    EXPECT_EQ(Refusal(lines, AtMost(2)),
              "part.nc:3:4: X3: the import would make more than 2 segments; give --max-segments "
              "N to allow more");
    const std::string arc = "G1 X10 F100\nG2 X10 Y0 I-10\n";
    const std::size_t chords = Read(arc).moves.size() - 1;
    EXPECT_EQ(Read(arc, AtMost(chords + 1)).moves.size(), chords + 1);
    EXPECT_EQ(Refusal(arc, AtMost(chords)), "part.nc:2:1: G2: the import would make more than " +
                                                std::to_string(chords) +
                                                " segments; give --max-segments N to allow more");
}

TEST(GcodeBound, DefaultsToTwoMillionSegments) { EXPECT_EQ(GcodeOptions{}.maxSegments, 2000000u); }

}  // namespace
