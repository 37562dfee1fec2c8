// The project's drive limits on an element's path, for check --limits and the warnings of stats.
#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "app/project/Project.h"
#include "toolpath/element/ElementPath.h"
#include "toolpath/motion/LimitCheck.h"

// Adds --from X,Y,Z: the axes' positions at the element's start, in their drives' position
// units (without it the envelope is relative to the start).
CLI::Option* AddStartOption(CLI::App& command, std::vector<double>& from);

// The limits of the drives behind path's axes in the element's base units, and the controller's
// shortest segment time (by default two sample times of the slowest-sampling drive). Throws
// AppError when from does not give one position for each axis.
PathLimits LimitsOfProject(const Project& project, const ElementPath& path,
                           const std::vector<double>& from);
