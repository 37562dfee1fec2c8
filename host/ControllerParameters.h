// What the host knows of the controller parameters that elements store as arrays.
#pragma once

#include "host/CMC_Unit.h"

// The parameters an element's columns hold: the position and the vector dynamics.
inline constexpr const char* kPositionParameter = "TPOS";
inline constexpr const char* kAccelerationParameter = "CACC";
inline constexpr const char* kSpeedParameter = "CSPD";

struct ControllerParameter {
    const char* name;       // base name, e.g. "TPOS"
    UnitQuantity quantity;  // what its values measure
    int type;               // tagVarType of its values
};

// The parameter of that base name, or null.
const ControllerParameter* FindControllerParameter(const char* baseName);
