// The geometry of a path plot: cumulative positions, the views of a path and fitting a view into
// a drawing area at one scale on both axes.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "base/Geometry.h"
#include "toolpath/element/ElementPath.h"

enum class PlotView { XY, XZ, YZ, Isometric };

// The views of an element: XY for 2D; XY, XZ, YZ and isometric for 3D.
std::vector<PlotView> ViewsOf(const ElementPath& path);
const char* ViewName(PlotView view);
// The axes (0 X, 1 Y, 2 Z) a flat view shows across and up; the isometric view shows none.
std::array<int, 2> ViewAxes(PlotView view);

// Where a position lies in a view, in counts: across to the right, up.
Point2 ProjectOnto(PlotView view, const Vec3& point);

// The start and the end of every segment, in counts of the reference axis from the start:
// point 0 is the start, point i + 1 the end of segment i.
std::vector<Vec3> CumulativePoints(const ElementPath& path);

// A view's mapping into a drawing area in pixels (y down), at one scale on both axes.
struct ViewFit {
    double scale = 1.0;    // pixels per count
    double originX = 0.0;  // the pixel where the view's 0, 0 lies
    double originY = 0.0;
    Point2 ToPixels(Point2 point) const {
        return {originX + point.x * scale, originY - point.y * scale};
    }
    Point2 ToView(Point2 pixel) const {
        return {(pixel.x - originX) / scale, (originY - pixel.y) / scale};
    }
};

// Fits bounds centred into area, leaving margin pixels on each side; a flat or empty extent is
// given the other's size (or one count).
ViewFit FitView(const Bounds& bounds, const Rect& area, double margin);

// Round values (1, 2 or 5 times a power of ten) from low to high, about count of them; none
// when the range is empty or not finite.
std::vector<double> NiceTicks(double low, double high, int count);
// The largest round value not above limit; 0 when limit is not a positive finite number.
double NiceValueBelow(double limit);
