// Reading UTF-8 one character at a time, for the writers that pass text from outside on.
#pragma once

#include <cstddef>
#include <string_view>

// A character read off the start of a text: its code point and how many bytes it took.
struct Utf8Char {
    char32_t code = 0;
    std::size_t length = 0;  // 0 when the bytes are not well-formed UTF-8
};

// The character at the start of text. Well-formed means the shortest form of a code point up to
// U+10FFFF that is not a surrogate; a sequence cut short by the end of text is not.
[[nodiscard]] Utf8Char ReadUtf8Char(std::string_view text);
