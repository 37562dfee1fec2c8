// Writing numbers as short decimal text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace numbertext {

// A number's text in a fixed buffer, so that long lists format without allocating.
struct NumberBuffer {
    char data[64];
    size_t size = 0;
    std::string_view View() const { return {data, size}; }
    std::string Str() const { return std::string(View()); }
};

// x rounded to digits significant digits, trailing zeros dropped; plain notation for
// ordinary magnitudes, an exponent only for huge or tiny ones.
NumberBuffer Significant(double x, int digits);
// The shortest text that reads back to exactly x, in the same notation.
NumberBuffer Shortest(double x);
// Digits from the first to the last nonzero digit of a number's text ("0.0250" -> 2).
int CountSignificantDigits(std::string_view text);

}  // namespace numbertext
