// Reading and writing numbers as text: strict parsing and short decimal forms.
#pragma once

#include <string>
#include <string_view>

namespace numbertext {

enum class ParseResult { Ok, NotNumber, OutOfRange };

// A decimal number filling the whole token (optional sign, no hex, no "nan"/"inf").
[[nodiscard]] ParseResult ParseNumber(std::string_view token, double& value);
// A whole number filling the whole token (optional sign, digits only).
[[nodiscard]] ParseResult ParseWhole(std::string_view token, long long& value);

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

inline std::string FormatShortest(double x) { return Shortest(x).Str(); }

// x rounded to a number of significant digits by arithmetic: cheap, but only nearly exact.
class RoundingEstimate {
  public:
    explicit RoundingEstimate(double x);
    double Rounded(int digits) const;

  private:
    double m_x;
    double m_scale = 0.0;  // 10^-exponent of x's leading digit; 0 = no estimate
};

// The text of x with the fewest significant digits whose value accepts() takes; the shortest
// round-trip text when none does. Digit counts whose cheap estimate is refused are skipped
// without formatting, so long lists stay fast.
template <class Accept>
std::string FormatFewestDigits(double x, Accept accepts) {
    const RoundingEstimate estimate(x);
    for (int digits = 1; digits <= 17; ++digits) {
        if (digits < 17 && !accepts(estimate.Rounded(digits))) continue;
        const NumberBuffer text = Significant(x, digits);
        double parsed = 0.0;
        if (ParseNumber(text.View(), parsed) == ParseResult::Ok && accepts(parsed)) {
            return text.Str();
        }
    }
    return FormatShortest(x);
}

// text made safe to quote in a message: control characters escaped (\n, \x1b), long
// texts cut short.
std::string QuoteForMessage(std::string_view text);
// The same in double quotes.
std::string Quoted(std::string_view text);

}  // namespace numbertext
