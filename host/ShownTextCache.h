// The display texts of a list of values, kept as a list box is filled with them, so that saving
// the list afterwards need not format every value a second time.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Entries are kept for the values 0 to Count() - 1, in order, compactly: the texts one after
// another in one run of bytes, and where each ends. A value that was not shown has an entry
// without a text. A change of value i forgets the entries from i on. Lists repeat values (a
// feed, a constant depth), so the cache also remembers where it last kept a value of each of a
// few hundred keys.
class ShownTextCache {
  public:
    struct Entry {
        bool kept = false;  // a text is kept for the value
        std::string_view text;
    };

    size_t Count() const { return m_ends.size(); }
    // The bytes of all kept texts.
    size_t Bytes() const { return m_bytes.size(); }
    // The entry of index; not kept when index is at or beyond Count(). Inline: a save asks for
    // every value's.
    Entry At(size_t index) const {
        if (index >= Count()) return {};
        const std::uint32_t end = m_ends[index];
        if ((end & kNotKept) != 0) return {};
        const size_t start = EndOf(index);
        return {true, std::string_view(m_bytes).substr(start, (end & kOffset) - start)};
    }
    // Keeps text for index when index is Count() or beyond (the values between get entries
    // without a text) and remembers it under key; an entry that exists stays as it is. Room
    // for the entries of count values is reserved at the first.
    void Keep(size_t index, std::string_view text, size_t count, std::uint64_t key);
    // Where a text was last kept under key, or under another key of the same place, or
    // Count() when that entry is gone: the caller checks that the value there is the one it
    // looks for.
    size_t RecentIndexOf(std::uint64_t key) const {
        const std::uint32_t index = m_recent[RecentSlot(key)];
        return index < Count() ? index : Count();
    }
    // Forgets the entries from index on.
    void ForgetFrom(size_t index);
    void Clear() { ForgetFrom(0); }

  private:
    // Each end holds the offset of the byte after its text, and a mark in the high bit.
    static constexpr std::uint32_t kNotKept = std::uint32_t{1} << 31;
    static constexpr std::uint32_t kOffset = kNotKept - 1;

    static constexpr size_t kRecentSlots = 256;

    size_t EndOf(size_t index) const { return index == 0 ? 0 : m_ends[index - 1] & kOffset; }
    // Fibonacci hashing: the top byte of the key times the golden ratio.
    static size_t RecentSlot(std::uint64_t key) { return (key * 0x9E3779B97F4A7C15ull) >> 56; }

    std::string m_bytes;
    std::vector<std::uint32_t> m_ends;
    std::array<std::uint32_t, kRecentSlots> m_recent{};
};
