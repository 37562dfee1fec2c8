#include <gtest/gtest.h>

#include <cmath>

#include "tests/toolpath/PathTestSupport.h"
#include "toolpath/exchange/SegmentBuilder.h"

namespace {

// 1 count = 0.0025 mm; speeds in mm/s onto 2.5 mm/s per internal unit.
const PathScales kScales{{{{1, 0.0025}, {1, 0.0025}, {1, 0.0025}}}, {1, 2.5}, {1, 2500}};

// One of the built segments' values, segment by segment.
template <class Value>
std::vector<Value> Each(const BuiltSegments& built, Value (*of)(const PathSegment&)) {
    std::vector<Value> values;
    for (const PathSegment& segment : built.segments) values.push_back(of(segment));
    return values;
}
std::int64_t CountsOnX(const PathSegment& segment) { return segment.counts[0]; }
double Speed(const PathSegment& segment) { return segment.speedLiteral; }
double Acceleration(const PathSegment& segment) { return segment.accelerationLiteral; }

ImportedPath PathOf(std::vector<PathMove> moves) {
    ImportedPath path;
    path.moves = std::move(moves);
    return path;
}

TEST(SegmentBuilder, MovesUnderACountJoinTheNextWhichTakesTheirSpeed) {
    const BuiltSegments built = BuildSegments(PathOf({{{1, 0, 0}, 0, 0, 1},
                                                      {{1.001, 0, 0}, 20, 625, 2},
                                                      {{1.001, 0, 0}, 0, 0, 3},
                                                      {{2, 0, 0}, 0, 0, 4},
                                                      {{3, 0, 0}, 0, 0, 5}}),
                                              kScales, "moves.nc");
    EXPECT_EQ(built.merged, 2u);
    ASSERT_EQ(built.segments.size(), 3u);
    EXPECT_EQ(Each(built, CountsOnX), (std::vector<std::int64_t>{400, 400, 400}));
    EXPECT_EQ(Each(built, Speed), (std::vector<double>{0, 8, 0}));
    EXPECT_EQ(Each(built, Acceleration), (std::vector<double>{0, 0.25, 0}));
}

TEST(SegmentBuilder, RatesAreStoredAsTheColumnsFixedPointHoldsThem) {
    const BuiltSegments built = BuildSegments(PathOf({{{1, 0, 0}, 1, 0, 1}}), kScales, "m.nc");
    EXPECT_EQ(built.segments[0].speedLiteral, std::round(65536 / 2.5) / 65536);
}

std::string RefusalOfMoves(std::vector<PathMove> moves) {
    return RefusalOf([&] { BuildSegments(PathOf(std::move(moves)), kScales, "m.nc"); });
}

TEST(SegmentBuilder, RefusesWhatTheColumnsCannotHoldNamingTheLine) {
    EXPECT_EQ(RefusalOfMoves({{{6000000, 0, 0}, 0, 0, 7}}),
              "m.nc:7: the move of 2400000000 counts on X is longer than one segment can hold "
              "(2147483647 counts)");
    EXPECT_EQ(RefusalOfMoves({{{1e30, 0, 0}, 0, 0, 2}}),
              "m.nc:2: the position is beyond what the axes count");
    EXPECT_EQ(RefusalOfMoves({{{1, 0, 0}, 1e-5, 0, 3}}),
              "m.nc:3: the speed 0.00001 mm/s is below the smallest step the axes hold "
              "(0.000038147 mm/s)");
    EXPECT_EQ(RefusalOfMoves({{{1, 0, 0}, 0, 0, 1}, {{1, 0, 0}, 1e6, 0, 4}, {{2, 0, 0}, 0, 0, 5}}),
              "m.nc:4: the speed 1000000 mm/s is above the most the axes hold (81920 mm/s)");
    EXPECT_EQ(RefusalOfMoves({}), "m.nc: there are no moves to import");
    EXPECT_EQ(RefusalOfMoves({{{0.001, 0, 0}, 0, 0, 1}}),
              "m.nc: no move reaches a whole count of the axes");
}

}  // namespace
