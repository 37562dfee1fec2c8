#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>
#include <vector>

#include "toolpath/plot/PolylineThinner.h"
#include "toolpath/plot/SvgDocument.h"

namespace {

using Polyline = std::vector<Point2>;

// The polylines that SVG path data of M, m and l commands draws, in absolute pixels.
std::vector<Polyline> PolylinesOf(const std::string& data) {
    std::vector<Polyline> lines;
    std::string spaced;
    for (char c : data) {
        if (c == 'M' || c == 'm' || c == 'l' || c == '-') spaced += ' ';
        spaced += c;
        if (c == 'M' || c == 'm' || c == 'l') spaced += ' ';
    }
    std::istringstream in(spaced);
    std::string token;
    char command = 'M';
    Point2 pen;
    bool firstOfCommand = true;
    while (in >> token) {
        if (token == "M" || token == "m" || token == "l") {
            command = token[0];
            firstOfCommand = true;
            continue;
        }
        const double x = std::stod(token);
        in >> token;
        const double y = std::stod(token);
        const bool move = firstOfCommand && (command == 'M' || command == 'm');
        const bool absolute = command == 'M';
        pen = absolute ? Point2{x, y} : Point2{pen.x + x, pen.y + y};
        if (move) lines.emplace_back();
        lines.back().push_back(pen);
        firstOfCommand = false;
        if (command == 'M') command = 'L';
    }
    return lines;
}

double DistanceToStretch(Point2 p, Point2 a, Point2 b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double square = dx * dx + dy * dy;
    const double t =
        square > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / square, 0.0, 1.0) : 0.0;
    return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

double DistanceToDrawing(Point2 p, const std::vector<Polyline>& lines) {
    double best = INFINITY;
    for (const Polyline& line : lines) {
        for (size_t i = 0; i + 1 < line.size(); ++i)
            best = std::min(best, DistanceToStretch(p, line[i], line[i + 1]));
    }
    return best;
}

size_t PointCount(const std::vector<Polyline>& lines) {
    size_t count = 0;
    for (const Polyline& line : lines) count += line.size();
    return count;
}

std::vector<Polyline> Draw(const Polyline& points, int colours = 1) {
    PolylineThinner thinner(400, 400, colours);
    thinner.MoveTo(points.front());
    for (size_t i = 1; i < points.size(); ++i) thinner.LineTo(points[i], 0);
    thinner.Finish();
    return PolylinesOf(SvgPathData(thinner.Points(0)));
}

TEST(PolylineThinnerMerging, PointsAlongALineBecomeOneStretch) {
    Polyline points;
    for (int i = 0; i <= 1000; ++i) points.push_back({10 + 0.3 * i, 20 + 0.1 * i});
    const std::vector<Polyline> lines = Draw(points);
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_EQ(lines[0].size(), 2u);
    EXPECT_NEAR(lines[0][1].x, 310, 0.05);
    EXPECT_NEAR(lines[0][1].y, 120, 0.05);
}

TEST(PolylineThinnerMerging, WigglesTooSmallToSeeAreMerged) {
    Polyline points;
    for (int i = 0; i <= 1000; ++i) points.push_back({10 + 0.2 * i, 50 + (i % 2 ? 0.1 : -0.1)});
    EXPECT_EQ(PointCount(Draw(points)), 2u);
}

TEST(PolylineThinnerCorners, VisibleCornersStay) {
    const std::vector<Polyline> lines =
        Draw({{10, 10}, {100, 10}, {100, 11}, {200, 11}, {200, 100}});
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].size(), 5u);
}

TEST(PolylineThinnerCorners, TurningBackKeepsTheFarthestPoint) {
    const std::vector<Polyline> lines = Draw({{10, 10}, {100, 10}, {50, 13}});
    ASSERT_EQ(PointCount(lines), 3u);
    EXPECT_NEAR(lines[0][1].x, 100, 0.05);
}

TEST(PolylineThinnerCorners, EveryPointOfADenseSpiralStaysWithinSight) {
    Polyline points;
    for (int i = 0; i < 200000; ++i) {
        const double angle = i * 0.0005;
        const double radius = 20 + angle * 1.5;
        points.push_back({200 + radius * std::cos(angle), 200 + radius * std::sin(angle)});
    }
    const std::vector<Polyline> lines = Draw(points);
    EXPECT_LT(PointCount(lines), points.size() / 20);
    for (size_t i = 0; i < points.size(); i += 97)
        ASSERT_LT(DistanceToDrawing(points[i], lines), 0.31) << i;
}

TEST(PolylineThinnerCoverage, RetracedStretchesAreLeftOut) {
    const std::vector<Polyline> lines = Draw({{10, 10}, {300, 10}, {10, 10}, {300, 10.2}});
    EXPECT_EQ(PointCount(lines), 2u);
}

TEST(PolylineThinnerCoverage, ARandomScribbleStaysWithinAPixelOfWhatIsDrawn) {
    std::mt19937 random(4);
    std::uniform_real_distribution<double> step(-0.8, 0.8);
    Polyline points{{200, 200}};
    for (int i = 0; i < 100000; ++i) {
        const Point2 last = points.back();
        points.push_back({std::clamp(last.x + step(random), 150.0, 250.0),
                          std::clamp(last.y + step(random), 150.0, 250.0)});
    }
    const std::vector<Polyline> lines = Draw(points);
    EXPECT_LT(PointCount(lines), points.size() / 4);
    for (size_t i = 0; i < points.size(); i += 101)
        ASSERT_LT(DistanceToDrawing(points[i], lines), 1.5) << i;
}

TEST(PolylineThinnerColours, EachColourHasItsOwnPathAndTheLineStaysJoined) {
    PolylineThinner thinner(400, 400, 3);
    thinner.MoveTo({10, 10});
    thinner.LineTo({50, 10}, 0);
    thinner.LineTo({90, 10}, 2);
    thinner.LineTo({90, 50}, 2);
    thinner.Finish();
    const std::vector<Polyline> slow = PolylinesOf(SvgPathData(thinner.Points(0)));
    const std::vector<Polyline> fast = PolylinesOf(SvgPathData(thinner.Points(2)));
    EXPECT_TRUE(thinner.Points(1).empty());
    ASSERT_EQ(slow.size(), 1u);
    ASSERT_EQ(fast.size(), 1u);
    EXPECT_NEAR(fast[0].front().x, slow[0].back().x, 1e-9);
    EXPECT_EQ(fast[0].size(), 3u);
    EXPECT_TRUE(thinner.IsInked(70, 10));
    EXPECT_FALSE(thinner.IsInked(70, 30));
}

}  // namespace
