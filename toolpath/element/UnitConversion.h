// Every conversion between an element's internal units, its columns' units, the base units of
// its reference drive and the units of imported numbers. Each keeps the order of its
// multiplications: an export must import back to the same counts, so the rounding of the
// host's columns is repeated exactly.
#pragma once

#include <array>
#include <string>

class CMC_Units;
struct ColumnUnits;

inline constexpr double kMillimetresPerInch = 25.4;

// value * from / to, the same arithmetic (and so the same rounding) as the host's columns use
// to read a column's text into internal units.
struct CountScale {
    double from = 1.0;
    double to = 1.0;
    double ToInternal(double value) const { return value * from / to; }
    double FromInternal(double internal) const { return internal * to / from; }
};

// The scale from unit into its quantity's internal unit in units; "" is already internal.
// Throws PathError naming the unit when it does not convert there.
CountScale ScaleToInternal(const CMC_Units& units, const std::string& unit);

// The size in unit of one internal unit of its quantity, as the host shows a column's values;
// 1 for "" and for a unit that does not convert.
double PerInternal(const CMC_Units& units, const std::string& unit);

// How one internal unit of a quantity (a count, IU/Ts or IU/Ts^2) measures in a column's unit
// and in the base unit of the reference drive (m, in or rad; per second, per second squared).
struct InternalScale {
    double perInternal = 1.0;      // in the column's unit
    double basePerInternal = 0.0;  // in the base unit; 0 when the axes share no unit

    double ToColumn(double internal) const { return internal * perInternal; }
    double FromColumn(double column) const { return column / perInternal; }
    double ToBase(double internal) const { return internal * basePerInternal; }
    double BaseOfColumn(double column) const { return column / perInternal * basePerInternal; }
    double ColumnOfBase(double base) const { return base / basePerInternal * perInternal; }
    // The factor from the base unit into the column's unit, for many values at once.
    double ColumnPerBase() const { return perInternal / basePerInternal; }
};

// The internal scales of an element's columns; the positions share the reference axis's base.
struct ColumnScales {
    std::array<InternalScale, 3> position;  // of X, Y, Z
    InternalScale speed;
    InternalScale acceleration;
    std::string baseLengthUnit;  // "m", "in" or "rad"; "" when not known
};

// How the import turns a typed number into the unit its scale starts from: typed * factor /
// divisor (inches read as millimetres: 25.4 / 1; a feed per minute: 25.4 / 60).
struct ReadAs {
    double factor = 1.0;
    double divisor = 1.0;
    double Apply(double typed) const { return typed * factor / divisor; }
    // The typed number that reads as value.
    double Typed(double value) const { return value * divisor / factor; }
};

// The scales of columns in names on a drive of units; with base, also in its base units.
ColumnScales ScalesOf(const CMC_Units& units, const ColumnUnits& names, bool base);
