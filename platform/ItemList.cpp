#include "platform/ItemList.h"

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
    m_items.insert(m_items.begin() + index, Item{text ? text : "", 0});
    // The selected item stays selected when rows are inserted before it.
    if (m_selection >= index) ++m_selection;
    return static_cast<int>(index);
}

int ItemList::Remove(LPARAM index) {
    if (!Contains(index)) return -1;
    m_items.erase(m_items.begin() + index);
    if (m_selection == index) {
        m_selection = -1;
    } else if (m_selection > index) {
        --m_selection;
    }
    return Count();
}

void ItemList::Clear() {
    m_items.clear();
    m_selection = -1;
}

int ItemList::Select(LPARAM index) {
    m_selection = Contains(index) ? static_cast<int>(index) : -1;
    return m_selection;
}
