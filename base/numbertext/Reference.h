// The plain definitions that the fast number texts stand in for: each candidate formatted and
// parsed in full. Slow; the tests and the fuzz target hold the fast paths to them.
#pragma once

#include <string>

#include "base/numbertext/FewestDigits.h"

namespace numbertext {

// What FewestDigits() gives for x: the first of Significant(x, 1), Significant(x, 2) ... whose
// parsed value accepts() takes, found by formatting and parsing every digit count in turn.
std::string PlainFewestDigits(double x, ValueTest accepts);

// What ShortSignificant() answers for x where it can tell: Short with the text and its value
// when Significant(x, 15) has at most ten significant digits, Long otherwise.
ShortText PlainShortSignificant(double x, NumberBuffer& text, double& value);

}  // namespace numbertext
