// A combo box: typed wrappers of the CB_ messages.
#pragma once

#include <string>

#include "platform/CWnd.h"

class CComboBox : public CWnd {
  public:
    int GetCount() { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int nSelect) { return static_cast<int>(SendMessage(CB_SETCURSEL, nSelect)); }
    int AddString(const char* text) {
        return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    }
    int InsertString(int nIndex, const char* text) {
        return static_cast<int>(
            SendMessage(CB_INSERTSTRING, nIndex, reinterpret_cast<LPARAM>(text)));
    }
    int DeleteString(int nIndex) { return static_cast<int>(SendMessage(CB_DELETESTRING, nIndex)); }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    // The text of item nIndex; CB_ERR (and an empty text) when there is no such item.
    int GetLBText(int nIndex, std::string& text) {
        const ItemList::Item* item = GetItems().At(nIndex);
        text = item ? std::string(item->text) : std::string();
        return item ? static_cast<int>(text.size()) : CB_ERR;
    }
    DWORD_PTR GetItemData(int nIndex) {
        return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, nIndex));
    }
    int SetItemData(int nIndex, DWORD_PTR data) {
        return static_cast<int>(SendMessage(CB_SETITEMDATA, nIndex, static_cast<LPARAM>(data)));
    }
};
