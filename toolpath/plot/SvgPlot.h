// A drawing of an element's path: one view for a 2D element, the XY, XZ, YZ and isometric views
// for a 3D one (or the one flat view asked for), drawn at one scale on both axes of a view and
// coloured by the vector speed of the motion model; optionally the speed over time. The same
// drawing is written as SVG text or rasterised to a PNG.
#pragma once

#include <optional>
#include <string>

#include "toolpath/element/ElementPath.h"
#include "toolpath/motion/MotionModel.h"
#include "toolpath/motion/PathStats.h"
#include "toolpath/plot/PlotGeometry.h"

// The sizes a drawing may be given, on each side (pixels, or SVG user units): below the least
// the frames leave no room to draw in, above the most a PNG would take too much memory.
constexpr int kLeastPlotSide = 600;
constexpr int kMostPlotSide = 4096;

struct PlotSize {
    int width = 0;
    int height = 0;
};

struct PlotRequest {
    std::string name;                // names the element in the title
    bool speedProfile = false;       // add a chart of the vector speed over time
    std::optional<PlotView> view{};  // one view only; all of the path's when not given
    std::optional<PlotSize> size{};  // the whole drawing; by its views when not given
};

// Whether the path has the axes view draws (XZ and YZ need a Z axis).
bool PathHasView(const ElementPath& path, PlotView view);

// model and stats are the path's (MotionModelOf and ComputeStats on it): the plot traces the
// model the statistics summarise rather than building its own. The request's view is one the
// path has and its size within the least and the most side.
std::string RenderSvgPlot(const ElementPath& path, const std::optional<MotionModel>& model,
                          const PathStats& stats, const PlotRequest& request);
// The same drawing as the bytes of a PNG file.
std::string RenderPngPlot(const ElementPath& path, const std::optional<MotionModel>& model,
                          const PathStats& stats, const PlotRequest& request);
