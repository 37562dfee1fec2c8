// An SVG drawing of an element's path: one view for a 2D element, the XY, XZ, YZ and isometric
// views for a 3D one, drawn at one scale on both axes of a view and coloured by the vector speed
// of the motion model; optionally the speed over time.
#pragma once

#include <string>

#include "toolpath/element/ElementPath.h"
#include "toolpath/motion/MotionModel.h"

struct PlotRequest {
    std::string name;           // names the element in the title
    bool speedProfile = false;  // add a chart of the vector speed over time
    DynamicsInForce before;     // in force before the element, in the columns' units
};

std::string RenderSvgPlot(const ElementPath& path, const PlotRequest& request);
