// A sequence with a gap at the place of the last insertion or removal, for lists that are
// edited at a place that moves little: the segment columns and the segment list's rows. An
// insertion or removal costs time in proportion to its distance from the previous one, not to
// the length of the list, so a script that inserts a thousand segments into a million-segment
// element moves each value once rather than a thousand times. Reading by index costs one
// comparison more than a vector's.
#pragma once

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <memory>
#include <new>
#include <utility>
#include <vector>

// The allocator of a GapVector's room: the room a reservation or a growth adds is made without
// being written (values of a class are still constructed), as a gap is never read. Zeroing a
// million-value column's room before filling it cost a pass over its memory.
template <class T>
struct UnwrittenRoom : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = UnwrittenRoom<U>;
    };
    UnwrittenRoom() = default;
    // As the standard allocator's, a conversion between element types.
    template <class U>
    UnwrittenRoom(const UnwrittenRoom<U>&) noexcept {}
    template <class U>
    void construct(U* place) {
        ::new (static_cast<void*>(place)) U;
    }
    template <class U, class... Args>
    void construct(U* place, Args&&... args) {
        ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
    }
};

template <class T>
class GapVector {
  public:
    template <class Owner, class Value>
    class Iterator {
      public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = Value*;
        using reference = Value&;

        Iterator() = default;
        Iterator(Owner* owner, size_t index) : m_owner(owner), m_index(index) {}
        Value& operator*() const { return (*m_owner)[m_index]; }
        Value* operator->() const { return &(*m_owner)[m_index]; }
        Iterator& operator++() {
            ++m_index;
            return *this;
        }
        Iterator operator++(int) {
            Iterator before = *this;
            ++m_index;
            return before;
        }
        bool operator==(const Iterator& other) const { return m_index == other.m_index; }

      private:
        Owner* m_owner = nullptr;
        size_t m_index = 0;
    };
    using iterator = Iterator<GapVector, T>;
    using const_iterator = Iterator<const GapVector, const T>;

    size_t size() const { return m_data.size() - GapLength(); }
    bool empty() const { return size() == 0; }

    T& operator[](size_t index) { return m_data[Slot(index)]; }
    const T& operator[](size_t index) const { return m_data[Slot(index)]; }

    iterator begin() { return {this, 0}; }
    iterator end() { return {this, size()}; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    // Inserts value before index (size() appends).
    void insert(size_t index, T value) {
        MoveGap(index);
        if (GapLength() == 0) Grow(1);
        m_data[m_gapStart++] = std::move(value);
    }
    void push_back(T value) { insert(size(), std::move(value)); }

    // Removes count values from index on.
    void erase(size_t index, size_t count = 1) {
        MoveGap(index);
        m_gapEnd += std::min(count, m_data.size() - m_gapEnd);
    }

    void resize(size_t count, const T& value = T()) {
        CloseGap();
        m_data.resize(count, value);
        m_gapStart = m_gapEnd = count;
    }
    // Room for count values in all, so that filling the list moves nothing.
    void reserve(size_t count) {
        if (count <= m_data.size()) return;
        MoveGap(size());
        m_data.resize(count);
        m_gapEnd = count;
    }
    void clear() { resize(0); }
    void swap(GapVector& other) noexcept {
        m_data.swap(other.m_data);
        std::swap(m_gapStart, other.m_gapStart);
        std::swap(m_gapEnd, other.m_gapEnd);
    }

  private:
    size_t GapLength() const { return m_gapEnd - m_gapStart; }
    size_t Slot(size_t index) const { return index < m_gapStart ? index : index + GapLength(); }

    void MoveGap(size_t index) {
        if (index < m_gapStart) {
            const size_t moved = m_gapStart - index;
            std::move_backward(m_data.begin() + static_cast<std::ptrdiff_t>(index),
                               m_data.begin() + static_cast<std::ptrdiff_t>(m_gapStart),
                               m_data.begin() + static_cast<std::ptrdiff_t>(m_gapEnd));
            m_gapStart -= moved;
            m_gapEnd -= moved;
        } else if (index > m_gapStart) {
            const size_t moved = index - m_gapStart;
            std::move(m_data.begin() + static_cast<std::ptrdiff_t>(m_gapEnd),
                      m_data.begin() + static_cast<std::ptrdiff_t>(m_gapEnd + moved),
                      m_data.begin() + static_cast<std::ptrdiff_t>(m_gapStart));
            m_gapStart += moved;
            m_gapEnd += moved;
        }
    }

    // Leaves the values in m_data alone, in order, without a gap.
    void CloseGap() {
        MoveGap(size());
        m_data.resize(m_gapStart);
        m_gapEnd = m_gapStart;
    }

    // Grows the room by half (at least by needed), keeping the gap where it is: a long list
    // grows by less than it holds, and filling one still moves each value a few times only.
    void Grow(size_t needed) {
        const size_t tail = m_data.size() - m_gapEnd;
        const size_t room = std::max({needed, m_data.size() / 2, size_t{16}});
        Storage grown(m_data.size() + room);
        std::move(m_data.begin(), m_data.begin() + static_cast<std::ptrdiff_t>(m_gapStart),
                  grown.begin());
        std::move(m_data.end() - static_cast<std::ptrdiff_t>(tail), m_data.end(),
                  grown.end() - static_cast<std::ptrdiff_t>(tail));
        m_data.swap(grown);
        m_gapEnd = m_data.size() - tail;
    }

    using Storage = std::vector<T, UnwrittenRoom<T>>;
    Storage m_data;  // the values before the gap, the gap, the values after it
    size_t m_gapStart = 0;
    size_t m_gapEnd = 0;
};
