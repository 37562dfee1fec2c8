// Writing segments into an element's text, in physical units chosen so that the module reads
// back exactly the counts and rates the segments hold.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "toolpath/element/ColumnUnits.h"
#include "toolpath/element/ElementPath.h"

class CMC_Units;

// text with ProfileType set; a 2D element loses its Z entries (SlaveZ, Z_TPOS). Throws
// PathError naming sourceName when a 3D profile is asked of a text that chooses no Z axis.
std::string WithProfile(std::string_view text, bool threeAxes, const std::string& sourceName);

// text with its columns replaced by the segments, written in names; units is the catalogue of
// the drive the columns are held on. Throws PathError when a unit does not fit it.
std::string WithColumns(std::string_view text, const std::vector<PathSegment>& segments,
                        const CMC_Units& units, const ColumnUnits& names, bool threeAxes);

// text with the segments added to the end of each of its columns, in the unit in the column's
// brackets. Throws PathError when a column entry is missing or its unit does not fit.
std::string WithAppendedColumns(std::string_view text, const std::vector<PathSegment>& segments,
                                const CMC_Units& units, bool threeAxes);
