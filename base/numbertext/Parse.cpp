#include "base/numbertext/Parse.h"

#include <fast_float/fast_float.h>

#include <charconv>
#include <cmath>
#include <iterator>

#include "base/CharClass.h"

namespace numbertext {
namespace {
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

bool ExactQuotient(std::uint64_t whole, int places, double& value) {
    constexpr std::uint64_t kExactWholes = std::uint64_t{1} << 53;
    constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                       1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (whole >= kExactWholes || places < 0 || places >= static_cast<int>(std::size(kPowersOfTen)))
        return false;
    value = static_cast<double>(whole) / kPowersOfTen[places];
    return true;
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

}  // namespace numbertext
