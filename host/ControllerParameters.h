// What the host knows of the controller parameters that elements store as arrays.
#pragma once

#include "host/CMC_Unit.h"

struct ControllerParameter {
    const char* name;       // base name, e.g. "TPOS"
    UnitQuantity quantity;  // what its values measure
    int type;               // tagVarType of its values
};

// The parameter of that base name, or null.
const ControllerParameter* FindControllerParameter(const char* baseName);

// The columns of a linear-interpolation element's segment table, in their order: the
// positions of X, Y and Z, the vector acceleration, the vector speed.
enum ElementColumn { kColumnX, kColumnY, kColumnZ, kColumnAcceleration, kColumnSpeed };
inline constexpr int kElementColumnCount = 5;

struct ElementColumnName {
    const ControllerParameter* parameter;  // TPOS, CACC or CSPD
    const char* prefix;                    // "X_", "Y_", "Z_" for positions, else null
    const char* entry;                     // its entry in a parameter text: "X_TPOS", "CACC"
};

// Column's parameter, prefix and entry name (column from 0 to kElementColumnCount - 1).
const ElementColumnName& ElementColumnNameOf(int column);
