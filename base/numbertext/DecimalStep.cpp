#include "base/numbertext/DecimalStep.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "base/numbertext/LayoutParts.h"

namespace numbertext {
namespace {
using layout::DigitCount;
using layout::kWholePowers;
using layout::RenderWhole;
using layout::StripTrailingZeros;
using Wide = unsigned __int128;

bool MultiplyWide(Wide& value, Wide factor) {
    return !__builtin_mul_overflow(value, factor, &value);
}

bool ShiftWide(Wide& value, int bits) {
    if (bits >= 128 || (bits > 0 && value >> (128 - bits) != 0)) return false;
    value <<= bits;
    return true;
}

// The sign of magnitude - whole * 10^power, exactly; nullopt where the numbers are out of reach.
std::optional<int> CompareWithDecimal(double magnitude, unsigned long long whole, int power) {
    constexpr int kMostPower = 19;
    constexpr int kMantissaBits = 53;
    if (!std::isfinite(magnitude) || power < -kMostPower || power > kMostPower) return std::nullopt;
    int exponent = 0;
    const double fraction = std::frexp(magnitude, &exponent);
    Wide left = static_cast<unsigned long long>(std::ldexp(fraction, kMantissaBits));
    exponent -= kMantissaBits;
    Wide right = whole;
    const Wide ten = kWholePowers[static_cast<size_t>(std::abs(power))];
    if (!MultiplyWide(power >= 0 ? right : left, ten)) return std::nullopt;
    if (!ShiftWide(exponent >= 0 ? left : right, std::abs(exponent))) return std::nullopt;
    return left < right ? -1 : left > right ? 1 : 0;
}
}  // namespace

bool DecimalStepOf(double step, DecimalStep& decimal) {
    constexpr double kMostMultiple = 99'999'999;
    constexpr int kFinestPower = -12;
    constexpr int kCoarsestPower = 9;
    for (int power = kCoarsestPower; power >= kFinestPower; --power) {
        const double scaled = step / std::pow(10.0, power);
        const double digits = std::round(scaled);
        if (digits < 1.0 || digits > kMostMultiple || std::fabs(scaled / digits - 1.0) >= 1e-15)
            continue;
        decimal = {static_cast<unsigned>(digits), power};
        return true;
    }
    return false;
}

// The digit counts as SearchFewestDigits() tries them, fewest first: the text is the count's
// digits rounded to the fewest places that stay within half a step of them (or within the
// narrower distance asked for), a tie rounded to the side x lies on, or to an even digit where
// x is that decimal. A rounding takes the count back when its conversion lands on the right side
// of the half count, which the margin keeps clear of the conversion's rounding errors. The
// roundings are taken from the last digit up, so that every division is by the constant ten;
// the multiples of a coarser unit are among those of a finer one, so once a rounding lies beyond
// the distance, every coarser one does too and the walk ends.
bool FewestDigitsOfCount(double x, long long count, unsigned multiple, int power,
                         NumberBuffer& text, FewestFound& found, double within) {
    // Up to fourteen digits, x lies within a unit of the last one: the roundings of x and of
    // its digits agree except at ties, and a text of eleven to fourteen digits is long.
    constexpr unsigned long long kMostDigits = kWholePowers[14];
    constexpr int kShortDigits = 10;
    constexpr double kConversionError = 1e-14;  // of the count, ten times what it can be
    if (multiple == 0) return false;
    if (count == 0) {
        RenderWhole(false, 0.0, power, text);
        found = {true, false, 0};
        return true;
    }
    const auto magnitude = static_cast<unsigned long long>(count);
    const unsigned long long steps = count < 0 ? 0 - magnitude : magnitude;
    if (steps >= kMostDigits / multiple) return false;
    const unsigned long long digits = steps * multiple;
    // Twice a rounding's distance and a step are whole numbers: apart, they differ by one or
    // more, which must be more than the conversion's error (in the same measure).
    if (2.0 * multiple * static_cast<double>(steps) * kConversionError >= 1.0) return false;
    // Twice the distance allowed, in units of the last digit: a step for half of one. A
    // narrower one is checked by the caller in floating point, whose errors grow with the
    // count: a rounding about that far away is not decided here.
    const bool halfStep = within == 0.5;
    const double twiceWithin = 2.0 * within * multiple;
    // The caller's check takes several roundings, and a step may lie 1e-15 off its decimal.
    const double undecided =
        halfStep ? 0.0 : 2.0 * multiple * (static_cast<double>(steps) * 3e-15 + 1e-12);
    // Rounded to unit, a power of ten: the digits above it, and what lies below.
    unsigned long long above = digits;
    unsigned long long below = 0;
    unsigned long long unit = 1;
    // The rounding that drops the most digits and stays within the distance.
    unsigned long long fewestAbove = digits;
    unsigned long long fewestBelow = 0;
    unsigned long long fewestUnit = 1;
    while (above >= 10) {
        below += above % 10 * unit;
        above /= 10;
        unit *= 10;
        // Twice the distance of the nearer rounding against twice the distance allowed: below
        // stays within it, above does not.
        const auto twiceAway = static_cast<double>(std::min(2 * below, 2 * (unit - below)));
        if (std::fabs(twiceAway - twiceWithin) <= undecided) return false;
        if (twiceAway > twiceWithin) break;
        fewestAbove = above;
        fewestBelow = below;
        fewestUnit = unit;
    }
    unsigned long long rounded = fewestAbove;
    if (2 * fewestBelow > fewestUnit) {
        ++rounded;
    } else if (2 * fewestBelow == fewestUnit) {
        const std::optional<int> side = CompareWithDecimal(std::fabs(x), digits, power);
        if (!side) return false;
        // x that very decimal (a count of a binary step such as 1/1024 mm): the printing of
        // its digits rounds the tie to an even digit.
        if (*side > 0 || (*side == 0 && rounded % 2 == 1)) ++rounded;
    }
    rounded *= fewestUnit;
    RenderWhole(count < 0, static_cast<double>(rounded), power, text);
    // Digits of ten or fewer are short whatever their zeros: most counts need no stripping.
    bool longText = false;
    if (digits >= kWholePowers[kShortDigits]) {
        unsigned long long significant = digits;
        int ignored = 0;
        StripTrailingZeros(significant, ignored);
        longText = DigitCount(significant) > kShortDigits;
    }
    found.isSignificant15 = rounded == digits;
    found.significant15IsLong = longText;
    found.digits = rounded;
    return true;
}

}  // namespace numbertext
