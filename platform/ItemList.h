// The items of a list box or combo box and the selected one; every index is checked. The
// texts are kept in large blocks rather than in an allocation each, so that lists of a million
// rows fill quickly and take little more memory than their text.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "base/GapVector.h"
#include "platform/AfxTypes.h"

class ItemList {
  public:
    struct Item {
        std::string_view text;  // into the list's blocks: valid while the item is in the list
        DWORD_PTR data = 0;
    };

    int Count() const { return static_cast<int>(m_items.size()); }
    const GapVector<Item>& Items() const { return m_items; }
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
    // Makes room for count more items with bytes of text, so that a long list is filled without
    // moving what it holds; false when there is not that much memory.
    bool Reserve(size_t count, size_t bytes);

    // Selects index; -1 or an index out of range clears the selection and returns -1.
    int Select(LPARAM index);
    int Selection() const { return m_selection; }

  private:
    bool Contains(LPARAM index) const { return index >= 0 && index < Count(); }
    // A copy of text in the blocks.
    std::string_view Keep(std::string_view text);
    // Short texts go into the current block, here a new one of size bytes.
    void NewBlock(size_t size);
    // Copies the texts still in use into new blocks once removed ones fill most of the old.
    void DropRemovedTexts();

    GapVector<Item> m_items;
    std::vector<std::unique_ptr<char[]>> m_blocks;
    char* m_next = nullptr;  // where the next short text goes in the current block
    size_t m_blockFree = 0;  // bytes left there
    size_t m_kept = 0;       // bytes of text in the blocks
    size_t m_removed = 0;    // of those, bytes of items no longer in the list
    int m_selection = -1;
};
