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

// Adds --speed and --accel: the speed and acceleration in force before the element, in the
// columns' units.
void AddDynamicsOptions(CLI::App& command, DynamicsInForce& before);

// A path's motion model, built once, and the statistics that summarise it, for the commands that
// report and draw the motion.
struct PathMotion {
    std::optional<MotionModel> model;
    PathStats stats;
};
// before is in the speed and acceleration columns' units.
PathMotion MotionOfPath(const ElementPath& path, DynamicsInForce before);
