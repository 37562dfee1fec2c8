// Values remembered by a 64-bit key (a double's bits), for the long lists that meet the same
// few values again and again. Each key has one slot, which it takes from any other key that
// hashes to it; the slots are made at the first value remembered.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "base/HashSlot.h"

template <class Value, int kSlotBits>
class KeyedMemo {
  public:
    // The value remembered under key, or null. Inline: a list asks for every value's.
    const Value* Find(std::uint64_t key) const {
        if (m_slots.empty()) return nullptr;
        const Slot& slot = m_slots[HashSlot(key, kSlotBits)];
        return slot.used && slot.key == key ? &slot.value : nullptr;
    }
    const Value& Remember(std::uint64_t key, Value value) {
        if (m_slots.empty()) m_slots.resize(size_t{1} << kSlotBits);
        Slot& slot = m_slots[HashSlot(key, kSlotBits)];
        slot = {key, true, std::move(value)};
        return slot.value;
    }
    void Clear() { m_slots.clear(); }

  private:
    struct Slot {
        std::uint64_t key = 0;
        bool used = false;
        Value value{};
    };
    std::vector<Slot> m_slots;
};
