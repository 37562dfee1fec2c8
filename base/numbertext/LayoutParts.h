// The layout's building blocks that the digit searches share.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "base/numbertext/Layout.h"

namespace numbertext::layout {

// 10^k for k from 0 to 19, exactly.
constexpr std::array<unsigned long long, 20> kWholePowers = [] {
    std::array<unsigned long long, 20> powers{1};
    for (size_t k = 1; k < powers.size(); ++k) powers[k] = powers[k - 1] * 10;
    return powers;
}();

// A decimal number as its significant digits (no leading or trailing zeros) and the exponent
// of the first of them: 1250 is "125" with exponent 3.
struct Decimal {
    bool negative = false;
    std::string_view digits;
    int exponent = 0;
};

// Writes a decimal in plain notation, or with an exponent outside the plain range.
void RenderDecimal(const Decimal& number, NumberBuffer& buffer);
// Renders whole * 10^power, whole a positive integral double below 2^53.
void RenderWhole(bool negative, double whole, int power, NumberBuffer& buffer);
// Takes the trailing zeros off value (below 10^16, not zero) into power.
void StripTrailingZeros(unsigned long long& value, int& power);
// The count of decimal digits of value (not zero).
int DigitCount(unsigned long long value);

}  // namespace numbertext::layout
