// What the commands that show or export an element's path share.
#pragma once

#include <optional>
#include <string>

#include "app/commands/CommandSupport.h"
#include "toolpath/element/ElementPath.h"
#include "toolpath/motion/MotionModel.h"
#include "toolpath/motion/PathStats.h"

// The path of the element file (or "-") on the project, when the module's translate accepts
// the element; otherwise the module's messages go to stderr as translate writes them, and there
// is nothing (exit status 1).
std::optional<ElementPath> ReadAcceptedPath(const CommonOptions& common,
                                            const std::string& elementFile);

// --speed and --accel as given: the speed and acceleration in force before the element, each a
// number in its column's unit or a number with a unit ("0.1", "100mm/s", "6000mm/min",
// "500mm/s^2"); empty when not given.
struct DynamicsOptions {
    std::string speed;
    std::string acceleration;
};
// Adds --speed and --accel; a value that is not a number above 0 is a usage error at once.
void AddDynamicsOptions(CLI::App& command, DynamicsOptions& before);
// The options' values in the path's speed and acceleration columns' units.
DynamicsInForce DynamicsOf(const DynamicsOptions& options, const ElementPath& path);

// A path's motion model, built once, and the statistics that summarise it, for the commands that
// report and draw the motion.
struct PathMotion {
    std::optional<MotionModel> model;
    PathStats stats;
};
// before is in the speed and acceleration columns' units.
PathMotion MotionOfPath(const ElementPath& path, DynamicsInForce before);
