// Option values that are a quantity: a number above 0 with an optional unit after it, as
// "0.01", "0.5 mm", "500mm/s^2" or "2000mm/min".
#pragma once

#include <string>

class CMC_Units;

struct Quantity {
    double value = 0.0;
    std::string unit;  // empty for a bare number
};

// The quantity of option's text. A value that is not a finite number above 0 (0, negatives,
// nan, inf, no number) is refused with an AppError that says so and gives example, a value
// with a unit the option takes.
Quantity ParseQuantity(const std::string& text, const char* option, const char* example);

// The quantity in target, a unit of the catalogue units; an AppError for option when its unit
// does not convert there.
double Converted(const CMC_Units& units, Quantity quantity, const std::string& target,
                 const char* option);

// A speed in target (a unit per second): the quantity's unit may be per second or per minute
// ("mm/min", "in/min").
double SpeedIn(const CMC_Units& units, Quantity quantity, const std::string& target,
               const char* option);

// "/min" ends unit: unit is left without it.
bool TakePerMinute(std::string& unit);
