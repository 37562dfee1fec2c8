// The viewer's path of an element read on the host side: the one place where the viewer reads
// the toolpath layer's types.
#pragma once

#include <optional>

#include "toolpath/element/ElementPath.h"
#include "toolpath/motion/MotionModel.h"
#include "viewer/ViewPath.h"

// The points of path and, when model is given and estimable, its timing and speed colours.
ViewPath ViewPathOf(const ElementPath& path, const std::optional<MotionModel>& model);
