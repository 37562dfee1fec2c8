// Strict parsing of numbers from a whole token.
#pragma once

#include <cstdint>
#include <string_view>

namespace numbertext {

enum class ParseResult { Ok, NotNumber, OutOfRange };

// A decimal number filling the whole token (optional sign, no hex, no "nan"/"inf").
[[nodiscard]] ParseResult ParseNumber(std::string_view token, double& value);
// whole / 10^places, when both are exact doubles (whole below 2^53, places at most 22): one
// division then rounds correctly, to what reading the decimal's text gives. False otherwise.
[[nodiscard]] bool ExactQuotient(std::uint64_t whole, int places, double& value);
// A whole number filling the whole token (optional sign, digits only).
[[nodiscard]] ParseResult ParseWhole(std::string_view token, long long& value);

}  // namespace numbertext
