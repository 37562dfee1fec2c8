// Reading and writing numbers as text: strict parsing and short decimal forms.
#pragma once

#include <cmath>
#include <string>
#include <string_view>

namespace numbertext {

enum class ParseResult { Ok, NotNumber, OutOfRange };

// A decimal number filling the whole token (optional sign, no hex, no "nan"/"inf").
[[nodiscard]] ParseResult ParseNumber(std::string_view token, double& value);
// A whole number filling the whole token (optional sign, digits only).
[[nodiscard]] ParseResult ParseWhole(std::string_view token, long long& value);

// Scans up to most (1 to 6) numbers from text exactly as the C library's sscanf with the
// format "%lf %lf ..." of most conversions does, into values; returns what sscanf returns: the
// count converted, or EOF when text holds nothing but white space. Plain decimal lines are
// scanned here, anything else (hexadecimal, "inf", "nan", a cut-off exponent, text glued to a
// number) by sscanf itself.
int ScanNumbers(const char* text, double* values, int most);

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

// Which values stand for the same stored value as a number x: those nearer than sure to x do,
// those farther than most do not; between the two only an exact test can tell.
struct Tolerance {
    double sure = 0.0;
    double most = 0.0;
};

// A reference to a test of a value, such as a lambda, that costs no allocation.
class ValueTest {
  public:
    template <class Test>
    ValueTest(const Test& test)  // NOLINT: stands for any callable
        : m_test(&test), m_call([](const void* t, double v) {
              return static_cast<bool>((*static_cast<const Test*>(t))(v));
          }) {}
    bool operator()(double value) const { return m_call(m_test, value); }

  private:
    const void* m_test;
    bool (*m_call)(const void*, double);
};

// What FewestDigits() found out on the way about Significant(x, 15), the exact text of x that a
// save writes when it is short.
struct FewestFound {
    bool isSignificant15 = false;      // the text found is also Significant(x, 15)
    bool significant15IsLong = false;  // it has more than ten digits (ShortSignificant: Long)
};

// The text of x with the fewest significant digits whose value accepts() takes; the shortest
// round-trip text when none does. The digit counts are tried with a cheap rounding estimate
// first, as if Significant() and ParseNumber() were asked for each; tolerance decides most of
// them without calling accepts(), so long lists stay fast.
NumberBuffer FewestDigits(double x, const Tolerance& tolerance, ValueTest accepts,
                          FewestFound* found = nullptr);

// The text FewestDigits() finds for x = count * multiple * 10^power, a whole count of a decimal
// step (x the double that converting the count gave), among the texts that convert back to the
// same count: those nearer than half a step. Found with whole-number arithmetic, for steps
// such as 2.5 um or 1/1024 mm; false where that cannot be sure (a text exactly half a step
// away, a tie of roundings where x is that very decimal, digits or a conversion error too
// large), and the caller searches. found: isSignificant15 when the text is the count's own
// digits (which Significant(x, 15) gives, or a long text where x lies a little off them),
// significant15IsLong when those digits are more than ten; where either holds, a save writes
// the text as shown.
bool FewestDigitsOfCount(double x, long long count, unsigned multiple, int power,
                         NumberBuffer& text, FewestFound& found);

// text made safe to quote in a message: control characters escaped (\n, \x1b), long
// texts cut short.
std::string QuoteForMessage(std::string_view text);
// The same in double quotes.
std::string Quoted(std::string_view text);

}  // namespace numbertext
