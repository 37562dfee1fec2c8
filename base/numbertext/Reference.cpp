#include "base/numbertext/Reference.h"

#include "base/numbertext/Parse.h"

namespace numbertext {

std::string PlainFewestDigits(double x, ValueTest accepts) {
    constexpr int kRoundTripDigits = 17;
    for (int digits = 1; digits <= kRoundTripDigits; ++digits) {
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
