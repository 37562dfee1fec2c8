#include "platform/ItemList.h"

#include <cstring>
#include <exception>

namespace {
// Texts go into blocks of this size; a long text gets a block of its own.
constexpr size_t kBlockSize = 64 * 1024;
constexpr size_t kLongText = kBlockSize / 4;
// Room asked for beyond this is not made at once: the texts then take blocks as they come.
constexpr size_t kMostReservedBytes = size_t{1} << 30;
}  // namespace

const ItemList::Item* ItemList::At(LPARAM index) const {
    return Contains(index) ? &m_items[static_cast<size_t>(index)] : nullptr;
}

ItemList::Item* ItemList::At(LPARAM index) {
    return Contains(index) ? &m_items[static_cast<size_t>(index)] : nullptr;
}

int ItemList::Add(const char* text) { return Insert(-1, text); }

int ItemList::Insert(LPARAM index, const char* text) {
    if (index == -1) index = Count();
    if (index < 0 || index > Count()) return -1;
    m_items.insert(static_cast<size_t>(index), Item{Keep(text ? text : ""), 0});
    // The selected item stays selected when rows are inserted before it.
    if (m_selection >= index) ++m_selection;
    return static_cast<int>(index);
}

int ItemList::Remove(LPARAM index) {
    if (!Contains(index)) return -1;
    m_removed += m_items[static_cast<size_t>(index)].text.size();
    m_items.erase(static_cast<size_t>(index));
    if (m_selection == index) {
        m_selection = -1;
    } else if (m_selection > index) {
        --m_selection;
    }
    DropRemovedTexts();
    return Count();
}

void ItemList::Clear() {
    m_items.clear();
    m_blocks.clear();
    m_next = nullptr;
    m_blockFree = m_kept = m_removed = 0;
    m_selection = -1;
}

bool ItemList::Reserve(size_t count, size_t bytes) {
    try {
        m_items.reserve(m_items.size() + count);
        if (bytes > m_blockFree && bytes <= kMostReservedBytes) NewBlock(bytes);
        return true;
    } catch (const std::exception&) {
        return false;  // more than memory holds: the list grows as it is filled
    }
}

int ItemList::Select(LPARAM index) {
    m_selection = Contains(index) ? static_cast<int>(index) : -1;
    return m_selection;
}

std::string_view ItemList::Keep(std::string_view text) {
    if (text.empty()) return {};
    char* start = nullptr;
    if (text.size() > kLongText) {
        // A block of its own; the current block keeps its room.
        m_blocks.emplace_back(new char[text.size()]);
        start = m_blocks.back().get();
    } else {
        if (text.size() > m_blockFree) NewBlock(kBlockSize);
        start = m_next;
        m_next += text.size();
        m_blockFree -= text.size();
    }
    std::memcpy(start, text.data(), text.size());
    m_kept += text.size();
    return {start, text.size()};
}

void ItemList::NewBlock(size_t size) {
    m_blocks.emplace_back(new char[size]);
    m_next = m_blocks.back().get();
    m_blockFree = size;
}

void ItemList::DropRemovedTexts() {
    if (m_removed < kBlockSize || m_removed < m_kept / 2) return;
    std::vector<std::unique_ptr<char[]>> old;
    old.swap(m_blocks);
    m_next = nullptr;
    m_blockFree = m_kept = m_removed = 0;
    for (Item& item : m_items) item.text = Keep(item.text);
}
