// The no-drift rule: every axis's increments add up to its last position in counts exactly.
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <random>
#include <string>

#include "toolpath/exchange/CountQuantiser.h"
#include "toolpath/exchange/GcodeReader.h"
#include "toolpath/exchange/SegmentBuilder.h"

namespace {

// 1 count = 0.0025 mm, as 2000 counts on a 5 mm screw.
constexpr CountScale kCount{1.0, 0.0025};

PathScales Scales() { return {{kCount, kCount, kCount}, {}, {}}; }

long long Sum(const std::vector<PathSegment>& segments, size_t axis) {
    return std::accumulate(
        segments.begin(), segments.end(), 0LL,
        [axis](long long sum, const PathSegment& segment) { return sum + segment.counts[axis]; });
}

TEST(NoDrift, ALongContourReturningToItsStartSumsToZeroOnEveryAxis) {
    // Thousands of arcs and odd lines, with an end exactly back at the start.
    std::string program = "G21 G90 G1 X0.0013 Y0.0007 Z0.3 F900\n";
    for (int i = 0; i < 2000; ++i) {
        program += "G2 X" + std::to_string(10.0013 + i % 3) + " Y0.0007 I" +
                   std::to_string((10.0 + i % 3) / 2.0) + " J0\nG1 X0.0013 Y0.0007 Z" +
                   std::to_string(0.1 * (i % 7)) + "\n";
    }
    program += "G1 X0 Y0 Z0\n";
    const ImportedPath path = ReadGcode(program, "contour.nc", GcodeOptions{});
    const BuiltSegments built = BuildSegments(path, Scales(), "contour.nc");
    EXPECT_GT(built.segments.size(), 50000u);
    for (size_t axis = 0; axis < 3; ++axis) EXPECT_EQ(Sum(built.segments, axis), 0);
}

TEST(NoDrift, AMillionSmallRandomMovesSumToTheFinalPositionInCounts) {
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> step(-0.004, 0.004);
    ImportedPath path;
    Vec3 position{};
    for (int i = 0; i < 1000000; ++i) {
        for (double& axis : position) axis += step(random);
        path.moves.push_back({position, 0.0, 0.0, static_cast<std::uint32_t>(i + 1)});
    }
    const BuiltSegments built = BuildSegments(path, Scales(), "walk.csv");
    EXPECT_EQ(built.segments.size() + built.merged, 1000000u);
    for (size_t axis = 0; axis < 3; ++axis)
        EXPECT_EQ(Sum(built.segments, axis), std::llround(kCount.ToInternal(position[axis])));
}

TEST(NoDrift, PositionsRoundToTheNearestCountWithHalvesAwayFromZero) {
    CountQuantiser quantiser({kCount, kCount, kCount});
    EXPECT_EQ(*quantiser.MoveTo({0.00125, -0.00125, 0.0012}), (Counts{1, -1, 0}));
    EXPECT_EQ(*quantiser.MoveTo({0.0037, 0, 0}), (Counts{0, 1, 0}));
    EXPECT_EQ(quantiser.Position(), (Counts{1, 0, 0}));
    EXPECT_FALSE(quantiser.MoveTo({1e30, 0, 0}));
}

}  // namespace
