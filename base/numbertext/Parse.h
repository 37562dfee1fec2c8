// Strict parsing of numbers from a whole token.
#pragma once

#include <string_view>

namespace numbertext {

enum class ParseResult { Ok, NotNumber, OutOfRange };

// A decimal number filling the whole token (optional sign, no hex, no "nan"/"inf").
[[nodiscard]] ParseResult ParseNumber(std::string_view token, double& value);
// A whole number filling the whole token (optional sign, digits only).
[[nodiscard]] ParseResult ParseWhole(std::string_view token, long long& value);

}  // namespace numbertext
