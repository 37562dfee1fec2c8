// An element's segments as a G-code program that the import reads back to the same counts.
#pragma once

#include <string>

struct ElementPath;

// G21 (or G20 when the element's lengths are in inches) and G90, then one G1 line a segment
// with the axes that move and F (units per minute) where the speed changes. Accelerations have
// no G-code form and are left out. title names the element, in the program's comment and in
// the PathError thrown for an element without linear axes.
std::string WriteGcode(const ElementPath& path, const std::string& title);
