#include "base/numbertext/Layout.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

#include "base/CharClass.h"
#include "base/numbertext/LayoutParts.h"

namespace numbertext {
namespace layout {
namespace {
constexpr int kPlainMinExponent = -6;
constexpr int kPlainMaxExponent = 15;

// Writes a buffer's text from its start; the buffer is always large enough for the texts
// written here. The size is set once, at the end, so that the loops keep the cursor in a
// register.
class Writer {
  public:
    explicit Writer(NumberBuffer& buffer) : m_buffer(buffer), m_next(buffer.data) {}
    ~Writer() { m_buffer.size = static_cast<size_t>(m_next - m_buffer.data); }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    void Put(char c) { *m_next++ = c; }
    void Put(std::string_view text) {
        std::memcpy(m_next, text.data(), text.size());
        m_next += text.size();
    }
    void Repeat(char c, size_t count) {
        std::memset(m_next, c, count);
        m_next += count;
    }

  private:
    NumberBuffer& m_buffer;
    char* m_next;
};
}  // namespace

// Writes a decimal in plain notation, or with an exponent outside the plain range.
void RenderDecimal(const Decimal& number, NumberBuffer& buffer) {
    Writer out(buffer);
    const std::string_view digits = number.digits;
    if (digits.empty() || digits == "0") return out.Put('0');
    if (number.negative) out.Put('-');
    const int exponent = number.exponent;
    if (exponent < kPlainMinExponent || exponent >= kPlainMaxExponent) {
        out.Put(digits[0]);
        if (digits.size() > 1) {
            out.Put('.');
            out.Put(digits.substr(1));
        }
        char exponentText[8];
        const auto end = std::to_chars(exponentText, exponentText + sizeof exponentText, exponent);
        out.Put('e');
        out.Put(std::string_view(exponentText, static_cast<size_t>(end.ptr - exponentText)));
        return;
    }
    if (exponent < 0) {
        out.Put("0.");
        out.Repeat('0', static_cast<size_t>(-exponent - 1));
        out.Put(digits);
        return;
    }
    const size_t integerDigits = static_cast<size_t>(exponent) + 1;
    if (digits.size() <= integerDigits) {
        out.Put(digits);
        out.Repeat('0', integerDigits - digits.size());
        return;
    }
    out.Put(digits.substr(0, integerDigits));
    out.Put('.');
    out.Put(digits.substr(integerDigits));
}

namespace {
std::string_view WithoutTrailingZeros(std::string_view digits) {
    while (digits.size() > 1 && digits.back() == '0') digits.remove_suffix(1);
    return digits;
}

// Rewrites scientific text such as "-1.2500e+03" as "-1250", dropping trailing zeros; an
// exponent is kept only outside the plain range.
void RenderScientific(std::string_view scientific, NumberBuffer& buffer) {
    Decimal number;
    if (!scientific.empty() && scientific[0] == '-') {
        number.negative = true;
        scientific.remove_prefix(1);
    }
    const size_t e = scientific.find('e');
    char digitStore[32];
    size_t count = 0;
    for (char c : scientific.substr(0, e)) {
        if (IsDigit(c) && count < sizeof digitStore) digitStore[count++] = c;
    }
    number.digits = WithoutTrailingZeros(std::string_view(digitStore, count));
    if (e != std::string_view::npos) {
        std::string_view text = scientific.substr(e + 1);
        if (!text.empty() && text[0] == '+') text.remove_prefix(1);
        std::from_chars(text.data(), text.data() + text.size(), number.exponent);
    }
    RenderDecimal(number, buffer);
}
}  // namespace

// Takes zeros trailing zeros off value into power if it has them. The divisor is a constant
// of each call, so the compiler multiplies instead of dividing: a division costs tens of cycles.
template <int zeros>
void StripZeros(unsigned long long& value, int& power) {
    constexpr unsigned long long kDivisor = kWholePowers[zeros];
    if (value % kDivisor != 0) return;
    value /= kDivisor;
    power += zeros;
}

// Takes the trailing zeros off value (below 10^16, not zero) into power, in four steps.
void StripTrailingZeros(unsigned long long& value, int& power) {
    StripZeros<8>(value, power);
    StripZeros<4>(value, power);
    StripZeros<2>(value, power);
    StripZeros<1>(value, power);
}

// The count of decimal digits of value (not zero).
int DigitCount(unsigned long long value) {
    // log10(2) is about 1233 / 4096: a first guess from the bit length, one too high at most.
    const int guess = (64 - std::countl_zero(value)) * 1233 >> 12;
    return guess + 1 - (value < kWholePowers[static_cast<size_t>(guess)] ? 1 : 0);
}

// Renders whole * 10^power, whole a positive integral double below 2^53, by the one layout of
// every text: its digits without trailing zeros, and the exponent of the first.
void RenderWhole(bool negative, double whole, int power, NumberBuffer& buffer) {
    const auto value = static_cast<unsigned long long>(whole);
    if (value == 0) return RenderDecimal(Decimal{false, "0", 0}, buffer);
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value);
    const auto count = static_cast<int>(end.ptr - digits);
    // The zeros are dropped from the text: most values have none, and a look at the last
    // character is cheaper than the four remainders that would find them in the number.
    auto significant = static_cast<size_t>(count);
    while (digits[significant - 1] == '0') --significant;
    RenderDecimal(Decimal{negative, {digits, significant}, power + count - 1}, buffer);
}
}  // namespace layout

namespace {
using layout::Writer;

void NonFiniteText(double x, NumberBuffer& buffer) {
    Writer out(buffer);
    if (std::isnan(x)) return out.Put("nan");
    out.Put(x < 0 ? "-inf" : "inf");
}

// x in the layout's notation from to_chars' scientific text: the shortest that reads back, or
// with precision digits after the point.
NumberBuffer ScientificText(double x, bool shortest, int precision) {
    NumberBuffer buffer;
    if (!std::isfinite(x)) {
        NonFiniteText(x, buffer);
        return buffer;
    }
    char text[64];
    const auto result =
        shortest
            ? std::to_chars(text, text + sizeof text, x, std::chars_format::scientific)
            : std::to_chars(text, text + sizeof text, x, std::chars_format::scientific, precision);
    layout::RenderScientific(std::string_view(text, static_cast<size_t>(result.ptr - text)),
                             buffer);
    return buffer;
}
}  // namespace

NumberBuffer Significant(double x, int digits) { return ScientificText(x, false, digits - 1); }

NumberBuffer Shortest(double x) { return ScientificText(x, true, 0); }

int CountSignificantDigits(std::string_view text) {
    text = text.substr(0, text.find('e'));
    const size_t first = text.find_first_of("123456789");
    if (first == std::string_view::npos) return 0;
    const size_t last = text.find_last_of("123456789");
    int count = 0;
    for (char c : text.substr(first, last - first + 1)) count += IsDigit(c) ? 1 : 0;
    return count;
}

}  // namespace numbertext
