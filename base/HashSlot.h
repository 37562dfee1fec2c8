// The slot of a 64-bit key in a table of 2^bits slots, for the small direct-mapped memos of
// long lists.
#pragma once

#include <cstddef>
#include <cstdint>

// Fibonacci hashing: the key times the golden ratio, its top bits. The doubles of whole counts,
// the usual keys, spread over more slots this way than with the key's halves folded first.
[[nodiscard]] constexpr size_t HashSlot(std::uint64_t key, int bits) {
    return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> (64 - bits));
}
