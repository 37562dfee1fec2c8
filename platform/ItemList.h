// The items of a list box or combo box and the selected one; every index is checked.
#pragma once

#include <string>
#include <vector>

#include "platform/AfxTypes.h"

class ItemList {
  public:
    struct Item {
        std::string text;
        DWORD_PTR data = 0;
    };

    int Count() const { return static_cast<int>(m_items.size()); }
    const std::vector<Item>& Items() const { return m_items; }
    // The item at index, or null when index is out of range.
    const Item* At(LPARAM index) const;
    Item* At(LPARAM index);

    // Appends text; returns its index.
    int Add(const char* text);
    // Inserts text at index (-1 appends); returns the index, or -1 when index is beyond the end.
    int Insert(LPARAM index, const char* text);
    // Removes the item at index; returns the new count, or -1 when index is out of range.
    int Remove(LPARAM index);
    void Clear();

    // Selects index; -1 or an index out of range clears the selection and returns -1.
    int Select(LPARAM index);
    int Selection() const { return m_selection; }

  private:
    bool Contains(LPARAM index) const { return index >= 0 && index < Count(); }

    std::vector<Item> m_items;
    int m_selection = -1;
};
