// A list box: typed wrappers of the LB_ messages.
#pragma once

#include <string>

#include "platform/CWnd.h"

class CListBox : public CWnd {
  public:
    int GetCount() { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
    int GetCurSel() { return static_cast<int>(SendMessage(LB_GETCURSEL)); }
    int SetCurSel(int nSelect) { return static_cast<int>(SendMessage(LB_SETCURSEL, nSelect)); }
    int AddString(const char* text) {
        return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    }
    int InsertString(int nIndex, const char* text) {
        return static_cast<int>(
            SendMessage(LB_INSERTSTRING, nIndex, reinterpret_cast<LPARAM>(text)));
    }
    int DeleteString(int nIndex) { return static_cast<int>(SendMessage(LB_DELETESTRING, nIndex)); }
    void ResetContent() { SendMessage(LB_RESETCONTENT); }
    // The text of row nIndex; LB_ERR (and an empty text) when there is no such row.
    int GetText(int nIndex, std::string& text) {
        const ItemList::Item* item = GetItems().At(nIndex);
        text = item ? std::string(item->text) : std::string();
        return item ? static_cast<int>(text.size()) : LB_ERR;
    }
    DWORD_PTR GetItemData(int nIndex) {
        return static_cast<DWORD_PTR>(SendMessage(LB_GETITEMDATA, nIndex));
    }
    int SetItemData(int nIndex, DWORD_PTR data) {
        return static_cast<int>(SendMessage(LB_SETITEMDATA, nIndex, static_cast<LPARAM>(data)));
    }
};
