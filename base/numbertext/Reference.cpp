#include "base/numbertext/Reference.h"

#include <cmath>

#include "base/numbertext/Parse.h"

namespace numbertext {

double PlainRoundingEstimate(double x, int digits) {
    if (!std::isfinite(x) || x == 0.0) return x;
    const double scale = std::pow(10.0, -std::floor(std::log10(std::fabs(x))));
    if (!std::isfinite(scale)) return x;
    const double scaled = scale * std::pow(10.0, digits - 1);
    return std::round(x * scaled) / scaled;
}

std::string PlainFewestDigits(double x, ValueTest accepts) {
    constexpr int kRoundTripDigits = 17;
    for (int digits = 1; digits <= kRoundTripDigits; ++digits) {
        if (digits < kRoundTripDigits && !accepts(PlainRoundingEstimate(x, digits))) continue;
        const NumberBuffer text = Significant(x, digits);
        double parsed = 0.0;
        if (ParseNumber(text.View(), parsed) == ParseResult::Ok && accepts(parsed)) {
            return text.Str();
        }
    }
    return Shortest(x).Str();
}

ShortText PlainShortSignificant(double x, NumberBuffer& text, double& value) {
    constexpr int kShortDigits = 10;
    text = Significant(x, 15);
    if (CountSignificantDigits(text.View()) > kShortDigits) return ShortText::Long;
    if (ParseNumber(text.View(), value) != ParseResult::Ok) return ShortText::Long;
    return ShortText::Short;
}

}  // namespace numbertext
