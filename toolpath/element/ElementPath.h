// An element's segments as the controller gets them, read on the host side from the element's
// parameter text on the project's controller and motion.
//
// The columns of an element are held in the internal units of its reference axis (the chosen
// axis with the finest position resolution), so one count means the same length on X, Y and Z:
// the increments here are the LPOS operands of the program, and the acceleration and speed the
// VACC and VSPD operands, each as the controller's variable type holds it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/Geometry.h"
#include "host/CMC_Units.h"
#include "toolpath/element/ColumnUnits.h"
#include "toolpath/element/UnitConversion.h"

class CMC_Setup;
class CMC_Motion;
class CMC_ArrayParameter;

// What the chosen axes move, as the module decides it; None when they do not form one set.
enum class UnitKind { None = 0, Rotary = 1, Linear = 2 };

struct PathSegment {
    // The LPOS operands: increments in counts of the reference axis; Z is 0 in a 2D element.
    Counts counts{};
    // The VACC and VSPD operands in IU/Ts^2 and IU/Ts as 16.16 fixed point holds them; 0 means
    // the segment has none of its own and the controller keeps the previous value.
    double accelerationLiteral = 0.0;
    double speedLiteral = 0.0;
};

struct ElementPath {
    int axisCount = 2;            // 2 for the XY profile, 3 for XYZ
    std::array<int, 3> slaves{};  // slave numbers of X, Y, Z; Z is -1 in a 2D element
    UnitKind unitKind = UnitKind::None;
    ColumnUnits columnUnits;  // as the element selects them; "" when it has no units
    ColumnScales scales;      // the base units only when the unit kind is not None
    CMC_Units units;          // the unit catalogue of the reference drive, for other conversions
    std::vector<PathSegment> segments;  // without the end segment

    // Segment i's increment on axis (0 X, 1 Y, 2 Z) in that position column's unit.
    double Increment(std::size_t segment, int axis) const;
    // Segment i's acceleration and speed in their columns' units; 0 = none of its own.
    double Acceleration(std::size_t segment) const;
    double Speed(std::size_t segment) const;
};

// The vector length of a segment's increments, in counts.
double CountLength(const PathSegment& segment);

// The name of the unit of axis's position column, or "counts" when the element has no units.
std::string PositionUnitName(const ElementPath& path, int axis);

// The axis letter of X, Y or Z: 'X' + axis.
inline char AxisLetter(int axis) { return static_cast<char>('X' + axis); }

// The unit kind of the chosen axes and the setup their columns are held on, as the module
// chooses them: the reference axis (the finest resolution, the earlier axis on a tie), or without
// units the X axis's setup (null when X has none).
struct ElementAxes {
    UnitKind kind = UnitKind::None;
    CMC_Setup* setup = nullptr;
};
ElementAxes ChooseElementAxes(CMC_Motion& motion, const std::array<int, 3>& slaves, int axisCount);

// An element's columns as read on its setup, one for each of the path's axes, then the
// acceleration and the speed (indexed by ElementColumn; Z is null in a 2D element). Every column
// holds the same count of values, at least one.
struct ElementColumns {
    int axisCount = 2;
    std::array<int, 3> slaves{};
    UnitKind unitKind = UnitKind::None;
    CMC_Setup* setup = nullptr;
    std::array<const CMC_ArrayParameter*, 5> columns{};
};
// The path those columns hold.
ElementPath PathOfColumns(const ElementColumns& read);

// Reads the element's path as TranslateMotionSequence reads the element on this controller and
// motion. Call it on an element that translate accepted; throws PathError with the host's
// messages on one line, after sourceName (what the text is called), when it cannot be read.
ElementPath ReadElementPath(std::string_view elementText, const std::string& sourceName,
                            CMC_Setup& controller, CMC_Motion& motion);
