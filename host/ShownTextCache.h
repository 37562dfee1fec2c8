// The display texts of a list of values, kept as a list box is filled with them, so that saving
// the list afterwards need not format every value a second time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/KeyedMemo.h"

// Entries are kept for the values 0 to Count() - 1, in order, compactly: the texts one after
// another in one run of bytes, and where each ends. A value that was not shown has an entry
// without a text. A change of value i forgets the entries from i on. Lists repeat values (a
// feed, a constant depth, the few increments of a fine grid), so the cache also remembers the
// texts of a few thousand values, each by its key, whatever index showed it.
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
    // without a text); an entry that exists stays as it is. Room for the entries of count
    // values is reserved at the first.
    void Keep(size_t index, std::string_view text, size_t count);
    // Forgets the entries from index on; the remembered texts stay, as they belong to values.
    void ForgetFrom(size_t index);

    // The text last remembered under key, or an empty one. Inline: a list asks for every
    // value's.
    std::string_view Recalled(std::uint64_t key) {
        if (m_resting != 0) {
            --m_resting;
            return {};
        }
        const ShortText* text = m_remembered.Find(key);
        CountLook(text != nullptr);
        return text ? std::string_view(text->text, text->size) : std::string_view();
    }
    // Remembers text under key in place of the text of another key that shares its slot; a
    // text too long for a slot is not remembered.
    void Remember(std::uint64_t key, std::string_view text);

    // Forgets the entries and the remembered texts: the values are shown in another way.
    void Clear();

  private:
    // Each end holds the offset of the byte after its text, and a mark in the high bit.
    static constexpr std::uint32_t kNotKept = std::uint32_t{1} << 31;
    static constexpr std::uint32_t kOffset = kNotKept - 1;

    // A text of a few characters, held in its slot.
    struct ShortText {
        std::uint8_t size = 0;
        char text[23] = {};
    };

    size_t EndOf(size_t index) const { return index == 0 ? 0 : m_ends[index - 1] & kOffset; }
    // The memo pays only while values meet again: random values of a long list seldom do in a
    // few thousand slots, and each miss costs a slot written for nothing. So when fewer than
    // one look in four of a round finds its text, the memo rests (is neither asked nor written)
    // for the looks of several rounds, then is tried again.
    void CountLook(bool found) {
        constexpr std::uint32_t kRoundLooks = 4096;
        constexpr std::uint32_t kRestLooks = 16 * kRoundLooks;
        m_found += found ? 1 : 0;
        if (++m_looks < kRoundLooks) return;
        if (m_found < kRoundLooks / 4) m_resting = kRestLooks;
        m_looks = m_found = 0;
    }
    std::string m_bytes;
    std::vector<std::uint32_t> m_ends;
    // 4,096 slots of 40 bytes: more than most lists have distinct values, within the
    // second-level cache.
    KeyedMemo<ShortText, 12> m_remembered;
    std::uint32_t m_looks = 0;    // in this round
    std::uint32_t m_found = 0;    // of those, the texts found
    std::uint32_t m_resting = 0;  // looks left before the memo is asked again
};
