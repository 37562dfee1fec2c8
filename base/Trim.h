// Trimming blanks off the ends of a text: the one helper every layer uses.
#pragma once

#include <string_view>

// The blanks by default: space, tab, and the CR that a CR LF line end leaves behind when a text
// is split at LF. The result views into text.
[[nodiscard]] constexpr std::string_view TrimLeft(std::string_view text,
                                                  std::string_view blanks = " \t\r") {
    const size_t first = text.find_first_not_of(blanks);
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

[[nodiscard]] constexpr std::string_view TrimRight(std::string_view text,
                                                   std::string_view blanks = " \t\r") {
    const size_t last = text.find_last_not_of(blanks);
    return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

[[nodiscard]] constexpr std::string_view Trim(std::string_view text,
                                              std::string_view blanks = " \t\r") {
    return TrimRight(TrimLeft(text, blanks), blanks);
}
