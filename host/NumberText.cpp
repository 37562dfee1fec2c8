#include "host/NumberText.h"

#include <fast_float/fast_float.h>

#include <charconv>
#include <cmath>

#include "platform/EscapedText.h"

namespace numbertext {
namespace {
constexpr int kPlainMinExponent = -6;
constexpr int kPlainMaxExponent = 15;
constexpr size_t kQuoteLimit = 40;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A leading '+' is accepted as a sign, but not before another sign.
std::string_view WithoutPlus(std::string_view token) {
    if (token.size() > 1 && token[0] == '+' && token[1] != '-' && token[1] != '+') {
        return token.substr(1);
    }
    return token;
}

bool StartsLikeDigits(std::string_view token) {
    if (!token.empty() && token[0] == '-') token.remove_prefix(1);
    return !token.empty() && (IsDigit(token[0]) || token[0] == '.');
}

// Appends to a buffer that is always large enough for the texts written here.
class Writer {
  public:
    explicit Writer(NumberBuffer& buffer) : m_buffer(buffer) { m_buffer.size = 0; }
    void Put(char c) { m_buffer.data[m_buffer.size++] = c; }
    void Put(std::string_view text) {
        for (char c : text) Put(c);
    }
    void Repeat(char c, size_t count) {
        for (size_t i = 0; i < count; ++i) Put(c);
    }

  private:
    NumberBuffer& m_buffer;
};

// Rewrites scientific text such as "-1.2500e+03" as "-1250", dropping trailing zeros; an
// exponent is kept only outside the plain range.
void RenderScientific(std::string_view scientific, NumberBuffer& buffer) {
    Writer out(buffer);
    if (!scientific.empty() && scientific[0] == '-') {
        out.Put('-');
        scientific.remove_prefix(1);
    }
    const size_t e = scientific.find('e');
    char digitStore[32];
    size_t count = 0;
    for (char c : scientific.substr(0, e)) {
        if (IsDigit(c) && count < sizeof digitStore) digitStore[count++] = c;
    }
    while (count > 1 && digitStore[count - 1] == '0') --count;
    const std::string_view digits(digitStore, count);
    int exponent = 0;
    if (e != std::string_view::npos) {
        std::string_view text = scientific.substr(e + 1);
        if (!text.empty() && text[0] == '+') text.remove_prefix(1);
        std::from_chars(text.data(), text.data() + text.size(), exponent);
    }
    if (digits == "0") {
        buffer.size = 0;
        Writer(buffer).Put('0');
        return;
    }
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

void NonFiniteText(double x, NumberBuffer& buffer) {
    Writer out(buffer);
    if (std::isnan(x)) return out.Put("nan");
    out.Put(x < 0 ? "-inf" : "inf");
}
}  // namespace

ParseResult ParseNumber(std::string_view token, double& value) {
    token = WithoutPlus(token);
    if (token.empty()) return ParseResult::NotNumber;
    const char* last = token.data() + token.size();
    double parsed = 0.0;
    const auto result = fast_float::from_chars(token.data(), last, parsed);
    if (result.ec != std::errc() || result.ptr != last) return ParseResult::NotNumber;
    if (!std::isfinite(parsed)) {
        return StartsLikeDigits(token) ? ParseResult::OutOfRange : ParseResult::NotNumber;
    }
    value = parsed == 0.0 ? 0.0 : parsed;
    return ParseResult::Ok;
}

ParseResult ParseWhole(std::string_view token, long long& value) {
    token = WithoutPlus(token);
    const char* last = token.data() + token.size();
    long long parsed = 0;
    const auto result = std::from_chars(token.data(), last, parsed);
    if (result.ptr != last || result.ec == std::errc::invalid_argument || token.empty()) {
        return ParseResult::NotNumber;
    }
    if (result.ec == std::errc::result_out_of_range) return ParseResult::OutOfRange;
    value = parsed;
    return ParseResult::Ok;
}

NumberBuffer Significant(double x, int digits) {
    NumberBuffer buffer;
    if (!std::isfinite(x)) {
        NonFiniteText(x, buffer);
        return buffer;
    }
    char text[64];
    const auto result =
        std::to_chars(text, text + sizeof text, x, std::chars_format::scientific, digits - 1);
    RenderScientific(std::string_view(text, static_cast<size_t>(result.ptr - text)), buffer);
    return buffer;
}

int CountSignificantDigits(std::string_view text) {
    text = text.substr(0, text.find('e'));
    const size_t first = text.find_first_of("123456789");
    if (first == std::string_view::npos) return 0;
    const size_t last = text.find_last_of("123456789");
    int count = 0;
    for (char c : text.substr(first, last - first + 1)) count += IsDigit(c) ? 1 : 0;
    return count;
}

RoundingEstimate::RoundingEstimate(double x) : m_x(x) {
    if (!std::isfinite(x) || x == 0.0) return;
    const double scale = std::pow(10.0, -std::floor(std::log10(std::fabs(x))));
    if (std::isfinite(scale)) m_scale = scale;
}

double RoundingEstimate::Rounded(int digits) const {
    static constexpr double kPowersOfTen[] = {1e0, 1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7, 1e8,
                                              1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16};
    if (m_scale == 0.0 || digits < 1 || digits > 17) return m_x;
    const double scale = m_scale * kPowersOfTen[digits - 1];
    return std::round(m_x * scale) / scale;
}

NumberBuffer Shortest(double x) {
    NumberBuffer buffer;
    if (!std::isfinite(x)) {
        NonFiniteText(x, buffer);
        return buffer;
    }
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, x, std::chars_format::scientific);
    RenderScientific(std::string_view(text, static_cast<size_t>(result.ptr - text)), buffer);
    return buffer;
}

std::string QuoteForMessage(std::string_view text) {
    std::string out = EscapeControls(text.substr(0, kQuoteLimit));
    if (text.size() > kQuoteLimit) out += "...";
    return out;
}

std::string Quoted(std::string_view text) {
    std::string quoted(1, '"');
    quoted += QuoteForMessage(text);
    quoted += '"';
    return quoted;
}

}  // namespace numbertext
