// Reading and writing numbers as text: strict parsing and short decimal forms.
#pragma once

#include <cmath>
#include <string>
#include <string_view>

namespace numbertext {

enum class ParseResult { Ok, NotNumber, OutOfRange };

// A decimal number filling the whole token (optional sign, no hex, no "nan"/"inf").
ParseResult ParseNumber(std::string_view token, double& value);
// A whole number filling the whole token (optional sign, digits only).
ParseResult ParseWhole(std::string_view token, long long& value);

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
// What ShortSignificant() found out about Significant(x, 15).
enum class ShortText {
    Short,    // it has at most ten significant digits: in text, with the value it reads as
    Long,     // it has more than ten significant digits
    Unknown,  // cheap arithmetic cannot tell; format it in full
};
ShortText ShortSignificant(double x, NumberBuffer& text, double& value);

// Digits from the first to the last nonzero digit of a number's text ("0.0250" -> 2).
int CountSignificantDigits(std::string_view text);

inline std::string FormatShortest(double x) { return Shortest(x).Str(); }

// x rounded to a number of significant digits by arithmetic: cheap, but only nearly exact.
class RoundingEstimate {
  public:
    explicit RoundingEstimate(double x);
    double Rounded(int digits) const;
    // Rounded() to within a few units in its last place, without a division.
    double RoundedNearly(int digits) const;
    // The digit counts (bit n for n digits, 1 to 17) whose Rounded() may lie within reach of
    // x; the others lie farther beyond doubt.
    unsigned WithinReach(double reach) const;
    // Significant(x, digits), where plain arithmetic gives it provably the same; false where it
    // cannot, and the caller formats.
    bool ExactText(int digits, NumberBuffer& text) const;
    // The value that ExactText's text reads back as.
    double ExactValue(int digits) const;

  private:
    double Scaled(int digits) const;
    bool ExactInReach(int digits) const;

    double m_x;
    double m_scale = 0.0;  // 10^-exponent of x's leading digit; 0 = no estimate
    int m_exponent = 0;    // the exponent of x's leading digit, where m_scale is set
};

// Which values stand for the same stored value as x: those nearer than sure to x do, those
// farther than most do not, and between the two an exact test decides.
struct Tolerance {
    double sure = 0.0;
    double most = 0.0;

    // Whether value (known to within a few units in its last place as nearly) is taken: the
    // band decides where it can, exactly() where it cannot.
    template <class Exactly>
    bool Takes(double x, double nearly, Exactly exactly) const {
        const double distance = std::fabs(nearly - x);
        if (distance < sure) return true;
        if (distance > most) return false;
        return exactly();
    }
};

// The text of x with the fewest significant digits whose value accepts() takes; the shortest
// round-trip text when none does. tolerance describes accepts() without calling it. Digit
// counts whose cheap estimate is refused are skipped without formatting, and most are decided
// by the tolerance alone, so long lists stay fast.
template <class Accept>
NumberBuffer FewestDigits(double x, const Tolerance& tolerance, Accept accepts) {
    const RoundingEstimate estimate(x);
    const unsigned candidates = estimate.WithinReach(tolerance.most);
    for (int digits = 1; digits <= 17; ++digits) {
        if ((candidates & (1u << digits)) == 0) continue;
        const double nearly = estimate.RoundedNearly(digits);
        if (digits < 17 &&
            !tolerance.Takes(x, nearly, [&] { return accepts(estimate.Rounded(digits)); }))
            continue;
        NumberBuffer text;
        if (estimate.ExactText(digits, text)) {
            // The text's value and the estimate are both within a few units of the same decimal.
            if (tolerance.Takes(x, nearly, [&] { return accepts(estimate.ExactValue(digits)); }))
                return text;
            continue;
        }
        text = Significant(x, digits);
        double parsed = 0.0;
        if (ParseNumber(text.View(), parsed) == ParseResult::Ok && accepts(parsed)) return text;
    }
    return Shortest(x);
}

// text made safe to quote in a message: control bytes shown as '?', long texts cut short.
std::string QuoteForMessage(std::string_view text);
// The same in double quotes.
std::string Quoted(std::string_view text);

}  // namespace numbertext
