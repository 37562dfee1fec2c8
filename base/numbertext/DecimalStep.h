// The fewest-digit text of a whole count of a decimal step, by whole-number arithmetic.
#pragma once

#include "base/numbertext/FewestDigits.h"

namespace numbertext {

// A step written as multiple * 10^power with a whole multiple of at most eight digits, the
// greatest power that leaves it whole (25 * 10^-4 rather than 250 * 10^-5); false when step is
// no such decimal within a few units in the fifteenth digit.
struct DecimalStep {
    unsigned multiple = 0;
    int power = 0;
};
bool DecimalStepOf(double step, DecimalStep& decimal);

// The text FewestDigits() finds for x = count * multiple * 10^power, a whole count of a decimal
// step (x the double that converting the count gave), among the texts that convert back to the
// same count: those nearer than half a step. Found with whole-number arithmetic, for steps
// such as 2.5 um or 1/1024 mm; false where that cannot be sure (a text exactly half a step
// away, digits or a conversion error too large), and the caller searches. found: isSignificant15
// when the text is the count's own digits (which Significant(x, 15) gives, or a long text where
// x lies a little off them), significant15IsLong when those digits are more than ten; where
// either holds, a save writes the text as shown; digits, the text's digits.
// within narrows the texts to those within that many counts of the count, a fraction below
// half: a rounding that lies about that far away is left to the search.
bool FewestDigitsOfCount(double x, long long count, unsigned multiple, int power,
                         NumberBuffer& text, FewestFound& found, double within = 0.5);

}  // namespace numbertext
