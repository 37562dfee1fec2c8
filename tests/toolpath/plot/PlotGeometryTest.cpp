#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "toolpath/plot/PlotGeometry.h"

namespace {

double Distance(Point2 a, Point2 b) { return std::hypot(a.x - b.x, a.y - b.y); }

TEST(PlotGeometryPoints, CumulativePositionsStartAtTheOriginAndFollowTheCounts) {
    ElementPath path;
    path.axisCount = 3;
    path.segments = {{{10, 0, -2}, 0, 0}, {{-4, 7, 0}, 0, 0}, {{0, 0, 5}, 0, 0}};
    const std::vector<Vec3> points = CumulativePoints(path);
    ASSERT_EQ(points.size(), 4u);
    EXPECT_EQ(points[0], (Vec3{0, 0, 0}));
    EXPECT_EQ(points[2], (Vec3{6, 7, -2}));
    EXPECT_EQ(points[3], (Vec3{6, 7, 3}));
}

TEST(PlotGeometryViews, FlatViewsShowTheirTwoAxes) {
    const Vec3 point{1, 2, 3};
    EXPECT_EQ(ProjectOnto(PlotView::XY, point).x, 1);
    EXPECT_EQ(ProjectOnto(PlotView::XY, point).y, 2);
    EXPECT_EQ(ProjectOnto(PlotView::XZ, point).y, 3);
    EXPECT_EQ(ProjectOnto(PlotView::YZ, point).x, 2);
    ElementPath flat;
    EXPECT_EQ(ViewsOf(flat).size(), 1u);
    flat.axisCount = 3;
    EXPECT_EQ(ViewsOf(flat).size(), 4u);
}

TEST(PlotGeometryViews, IsometricViewShowsEveryAxisAtTheSameScale) {
    const Point2 origin = ProjectOnto(PlotView::Isometric, {0, 0, 0});
    for (const Vec3& unit : {Vec3{1, 0, 0}, Vec3{0, 1, 0}, Vec3{0, 0, 1}})
        EXPECT_NEAR(Distance(origin, ProjectOnto(PlotView::Isometric, unit)), 1.0, 1e-12);
    EXPECT_NEAR(ProjectOnto(PlotView::Isometric, {0, 0, 1}).x, 0.0, 1e-12);
    EXPECT_GT(ProjectOnto(PlotView::Isometric, {0, 0, 1}).y, 0.0);
}

TEST(PlotGeometryFit, BothAxesShareOneScaleAndTheExtentIsCentred) {
    Bounds bounds;
    bounds.Add({0, 0});
    bounds.Add({100, 10});
    EXPECT_EQ(bounds.maxX, 100);
    const ViewFit fit = FitView(bounds, {50, 20, 400, 300}, 10);
    EXPECT_DOUBLE_EQ(fit.scale, 3.8);
    const Point2 origin = fit.ToPixels({0, 0});
    EXPECT_NEAR(Distance(origin, fit.ToPixels({1, 0})), Distance(origin, fit.ToPixels({0, 1})),
                1e-9);
    EXPECT_NEAR(origin.x, 60, 1e-9);
    EXPECT_NEAR(fit.ToPixels({100, 0}).x, 440, 1e-9);
    // Up in the view is up on the page; the extent sits in the middle of the area's height.
    EXPECT_LT(fit.ToPixels({0, 10}).y, origin.y);
    EXPECT_NEAR((origin.y + fit.ToPixels({0, 10}).y) / 2, 20 + 150, 1e-9);
    const Point2 back = fit.ToView(fit.ToPixels({12.5, -3}));
    EXPECT_NEAR(back.x, 12.5, 1e-12);
    EXPECT_NEAR(back.y, -3, 1e-12);
}

TEST(PlotGeometryFit, FlatExtentTakesTheOthersSize) {
    Bounds line;
    line.Add({0, 0});
    line.Add({0, 50});
    EXPECT_DOUBLE_EQ(FitView(line, {0, 0, 120, 120}, 10).scale, 2.0);
    Bounds across;
    across.Add({0, 0});
    across.Add({50, 0});
    EXPECT_DOUBLE_EQ(FitView(across, {0, 0, 220, 120}, 10).scale, 2.0);
    Bounds point;
    point.Add({5, 5});
    EXPECT_DOUBLE_EQ(FitView(point, {0, 0, 120, 120}, 10).scale, 100.0);
}

TEST(PlotGeometryTicks, TicksAreRoundAndCoverTheRange) {
    EXPECT_EQ(NiceTicks(0, 15, 3), (std::vector<double>{0, 5, 10, 15}));
    EXPECT_EQ(NiceTicks(-1.5, 0.2, 4), (std::vector<double>{-1.5, -1, -0.5, 0}));
    EXPECT_EQ(NiceTicks(0.31, 0.79, 4), (std::vector<double>{0.4, 0.6}));
    EXPECT_TRUE(NiceTicks(3, 3, 4).empty());
    EXPECT_EQ(NiceValueBelow(7), 5);
    EXPECT_EQ(NiceValueBelow(10), 10);
    EXPECT_DOUBLE_EQ(NiceValueBelow(0.3), 0.2);
    EXPECT_EQ(NiceValueBelow(1.9), 1);
}

// A range of no width, or one whose step would leave the doubles, gives no ticks rather than
// nonsense; the round value below a limit that is not a positive number is 0.
TEST(PlotGeometryTicks, RangesBeyondTheDoublesGiveNoTicks) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    const double nan = std::nan("");
    const double most = std::numeric_limits<double>::max();
    for (const auto& [low, high] : std::vector<std::pair<double, double>>{
             {0, kInf}, {-kInf, 0}, {nan, 1}, {0, nan}, {0, 1e-320}, {-most, most}})
        EXPECT_TRUE(NiceTicks(low, high, 4).empty()) << low << " " << high;
    for (double limit : {0.0, -1.0, kInf, nan, 4e-320}) EXPECT_EQ(NiceValueBelow(limit), 0.0);
    EXPECT_EQ(NiceValueBelow(most), 1e308);
    EXPECT_EQ(NiceTicks(0, 1e308, 2), (std::vector<double>{0, 5e307, 1e308}));
    EXPECT_EQ(NiceTicks(1e-300, 5e-300, 4).size(), 5u);
}

}  // namespace
