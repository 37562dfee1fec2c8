// The array columns of the motion element, in the editor's order. Each entry of the element's
// parameter text is named by a prefix and the controller parameter it holds ("X_" "TPOS").
#pragma once

#include <array>
#include <string>

#include "host/ControllerParameters.h"

enum ElementColumnIndex {
    kColumnX,
    kColumnY,
    kColumnZ,
    kColumnAcceleration,
    kColumnSpeed,
    kElementColumnCount
};

struct ElementColumn {
    const char* prefix;     // of the axis; null for the vector dynamics
    const char* parameter;  // as FindControllerParameter knows it
    std::string EntryName() const { return std::string(prefix ? prefix : "") + parameter; }
};

inline constexpr std::array<ElementColumn, kElementColumnCount> kElementColumns = {{
    {"X_", kPositionParameter},
    {"Y_", kPositionParameter},
    {"Z_", kPositionParameter},
    {nullptr, kAccelerationParameter},
    {nullptr, kSpeedParameter},
}};
