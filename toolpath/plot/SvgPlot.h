// An SVG drawing of an element's path: one view for a 2D element, the XY, XZ, YZ and isometric
// views for a 3D one, drawn at one scale on both axes of a view and coloured by the vector speed
// of the motion model; optionally the speed over time.
#pragma once

#include <optional>
#include <string>

#include "toolpath/element/ElementPath.h"
#include "toolpath/motion/MotionModel.h"
#include "toolpath/motion/PathStats.h"

struct PlotRequest {
    std::string name;           // names the element in the title
    bool speedProfile = false;  // add a chart of the vector speed over time
};

// model and stats are the path's (MotionModelOf and ComputeStats on it): the plot traces the
// model the statistics summarise rather than building its own.
std::string RenderSvgPlot(const ElementPath& path, const std::optional<MotionModel>& model,
                          const PathStats& stats, const PlotRequest& request);
