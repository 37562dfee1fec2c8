// Values worked out from short texts, remembered by their text: a long list of numbers repeats
// its values (a feed, a zero, the few increments of a fine grid), and looking one up costs a
// small part of reading it again. Each text has one slot, which it takes from any other text
// that hashes to it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "base/ByteScan.h"
#include "base/HashSlot.h"

template <class Value>
class ShortTextMemo {
  public:
    // Texts longer than this are neither remembered nor found.
    static constexpr size_t kLongestText = 16;

    // The value remembered for text, or null. Inline: a reader asks for every token's.
    const Value* Find(std::string_view text) const {
        if (m_slots.empty() || text.empty() || text.size() > kLongestText) return nullptr;
        const Key key = KeyOf(text);
        const Slot& slot = m_slots[SlotOf(key)];
        return slot.key == key ? &slot.value : nullptr;
    }
    // The slots are made at the first text remembered.
    void Remember(std::string_view text, const Value& value) {
        if (text.empty() || text.size() > kLongestText) return;
        if (m_slots.empty()) m_slots.resize(size_t{1} << kSlotBits);
        const Key key = KeyOf(text);
        Slot& slot = m_slots[SlotOf(key)];
        slot.key = key;
        slot.value = value;
    }

  private:
    // 4096 slots: more than most lists have distinct values, within the second-level cache.
    static constexpr int kSlotBits = 12;

    // The text's bytes and its length: a slot never used has length 0.
    struct Key {
        std::uint64_t words[2] = {0, 0};
        size_t size = 0;
        bool operator==(const Key&) const = default;
    };
    struct Slot {
        Key key;
        Value value{};
    };

    // Loads of fixed sizes that together cover every byte, overlapping where the text is not
    // their sum: texts of one length that differ anywhere have different words.
    static Key KeyOf(std::string_view text) {
        const char* at = text.data();
        const size_t size = text.size();
        Key key;
        key.size = size;
        using bytescan::Load;
        if (size >= 8) {
            key.words[0] = Load<std::uint64_t>(at);
            key.words[1] = Load<std::uint64_t>(at + size - 8);
        } else if (size >= 4) {
            key.words[0] =
                Load<std::uint32_t>(at) | std::uint64_t{Load<std::uint32_t>(at + size - 4)} << 32;
        } else {
            key.words[0] = Load<std::uint8_t>(at) |
                           std::uint64_t{Load<std::uint8_t>(at + size / 2)} << 8 |
                           std::uint64_t{Load<std::uint8_t>(at + size - 1)} << 16;
        }
        return key;
    }
    static size_t SlotOf(const Key& key) {
        return HashSlot(key.words[0] ^ (key.words[1] * 0xC2B2AE3D27D4EB4Full) ^ key.size,
                        kSlotBits);
    }

    std::vector<Slot> m_slots;
};
