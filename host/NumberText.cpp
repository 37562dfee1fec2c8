#include "NumberText.h"

#include <fast_float/fast_float.h>

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace numbertext {
namespace {
constexpr int kPlainMinExponent = -5;
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

// Renders "d.ddd" times 10^exponent from scientific text such as "-1.25e+03".
std::string RenderScientific(std::string_view scientific) {
    std::string out;
    if (!scientific.empty() && scientific[0] == '-') {
        out += '-';
        scientific.remove_prefix(1);
    }
    const size_t e = scientific.find('e');
    std::string digits;
    for (char c : scientific.substr(0, e)) {
        if (IsDigit(c)) digits += c;
    }
    int exponent = 0;
    if (e != std::string_view::npos)
        exponent = std::atoi(std::string(scientific.substr(e + 1)).c_str());
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    if (digits == "0") return "0";
    if (exponent < kPlainMinExponent || exponent >= kPlainMaxExponent) {
        out += digits[0];
        if (digits.size() > 1) out += '.' + digits.substr(1);
        return out + 'e' + std::to_string(exponent);
    }
    if (exponent < 0)
        return out + "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
    const size_t integerDigits = static_cast<size_t>(exponent) + 1;
    if (digits.size() <= integerDigits) {
        return out + digits + std::string(integerDigits - digits.size(), '0');
    }
    return out + digits.substr(0, integerDigits) + '.' + digits.substr(integerDigits);
}

std::string NonFiniteText(double x) {
    if (std::isnan(x)) return "nan";
    return x < 0 ? "-inf" : "inf";
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

std::string FormatSignificant(double x, int digits) {
    if (!std::isfinite(x)) return NonFiniteText(x);
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific, digits - 1);
    return RenderScientific(std::string_view(buffer, static_cast<size_t>(result.ptr - buffer)));
}

std::string FormatShortest(double x) {
    if (!std::isfinite(x)) return NonFiniteText(x);
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific);
    return RenderScientific(std::string_view(buffer, static_cast<size_t>(result.ptr - buffer)));
}

std::string QuoteForMessage(std::string_view text) {
    std::string out;
    const bool cut = text.size() > kQuoteLimit;
    for (char c : text.substr(0, kQuoteLimit)) {
        const auto byte = static_cast<unsigned char>(c);
        out += byte < 0x20 || byte == 0x7f ? '?' : c;
    }
    if (cut) out += "...";
    return out;
}

}  // namespace numbertext
