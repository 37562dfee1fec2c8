// An element's segments as a table that the import reads back to the same counts.
#pragma once

#include <string>

struct ElementPath;

// A header naming the columns with their units (x, y, z for 3D, accel, speed), then one line a
// segment with the positions after it (absolute) or its increments, comma-separated.
std::string WriteCsv(const ElementPath& path, bool absolute);
