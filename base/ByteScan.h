// Scanning long texts eight bytes at a time: element lines run to megabytes, and a loop over
// single bytes, the library's count among them, spends several instructions on each.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "base/CharClass.h"

namespace bytescan {
constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kLowSeven = 0x7F7F7F7F7F7F7F7Full;

// The bytes at at as a whole number of their size, without the alignment a cast would need.
template <class Whole>
Whole Load(const char* at) {
    Whole whole;
    std::memcpy(&whole, at, sizeof whole);
    return whole;
}
inline std::uint64_t WordAt(const char* at) { return Load<std::uint64_t>(at); }

// The high bit of each byte of word that equals c, and no other bit: no carry crosses a byte.
inline std::uint64_t BytesEqual(std::uint64_t word, char c) {
    const std::uint64_t x = word ^ (kOnes * static_cast<unsigned char>(c));
    return ~(((x & kLowSeven) + kLowSeven) | x | kLowSeven);
}
}  // namespace bytescan

// How many times c occurs in text.
[[nodiscard]] inline size_t CountChar(std::string_view text, char c) {
    size_t count = 0;
    size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
        const std::uint64_t equal = bytescan::BytesEqual(bytescan::WordAt(text.data() + at), c);
        count += static_cast<size_t>(((equal >> 7) * bytescan::kOnes) >> 56);  // the top byte
    }
    for (; at < text.size(); ++at) count += text[at] == c ? 1 : 0;
    return count;
}

// The first blank (IsBlank) from next on, or end.
[[nodiscard]] inline const char* FindBlank(const char* next, const char* end) {
    if constexpr (std::endian::native == std::endian::little) {
        for (; end - next >= 8; next += 8) {
            const std::uint64_t word = bytescan::WordAt(next);
            const std::uint64_t blanks =
                bytescan::BytesEqual(word, ' ') | bytescan::BytesEqual(word, '\t');
            if (blanks != 0) return next + std::countr_zero(blanks) / 8;
        }
    }
    while (next != end && !IsBlank(*next)) ++next;
    return next;
}

// Counts the line ends (LF or CR) that follow a byte that is no line end: the ends of the lines
// that hold something, in a text read in pieces. afterEnd tells whether the byte before text
// was a line end (true at the start of a file), and is left telling it of text's last byte.
[[nodiscard]] inline size_t CountFilledLineEnds(std::string_view text, bool& afterEnd) {
    size_t count = 0;
    size_t at = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::uint64_t before = afterEnd ? 0x80 : 0;  // the mark of the byte before the word
        for (; at + 8 <= text.size(); at += 8) {
            const std::uint64_t word = bytescan::WordAt(text.data() + at);
            const std::uint64_t ends =
                bytescan::BytesEqual(word, '\n') | bytescan::BytesEqual(word, '\r');
            const std::uint64_t counted = ends & ~(ends << 8 | before);
            count += static_cast<size_t>(((counted >> 7) * bytescan::kOnes) >> 56);
            before = ends >> 56;
        }
        afterEnd = before != 0;
    }
    for (; at < text.size(); ++at) {
        const bool end = text[at] == '\n' || text[at] == '\r';
        count += end && !afterEnd ? 1 : 0;
        afterEnd = end;
    }
    return count;
}
