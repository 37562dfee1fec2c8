#include "platform/CWnd.h"

#include <algorithm>
#include <cstring>

#include "platform/CComboBox.h"
#include "platform/CListBox.h"
#include "platform/DialogTemplate.h"

namespace {
// The list operations that list boxes and combo boxes share under different message numbers.
enum class ItemOp {
    Add,
    Insert,
    Delete,
    Reset,
    SetCurSel,
    GetCurSel,
    GetText,
    GetTextLen,
    GetCount,
    GetItemData,
    SetItemData,
    InitStorage,
    None
};

// The message numbers of each operation on a list box and on a combo box.
struct ItemMessage {
    UINT listBox;
    UINT comboBox;
    ItemOp op;
};
const ItemMessage kItemMessages[] = {
    {LB_ADDSTRING, CB_ADDSTRING, ItemOp::Add},
    {LB_INSERTSTRING, CB_INSERTSTRING, ItemOp::Insert},
    {LB_DELETESTRING, CB_DELETESTRING, ItemOp::Delete},
    {LB_RESETCONTENT, CB_RESETCONTENT, ItemOp::Reset},
    {LB_SETCURSEL, CB_SETCURSEL, ItemOp::SetCurSel},
    {LB_GETCURSEL, CB_GETCURSEL, ItemOp::GetCurSel},
    {LB_GETTEXT, CB_GETLBTEXT, ItemOp::GetText},
    {LB_GETTEXTLEN, CB_GETLBTEXTLEN, ItemOp::GetTextLen},
    {LB_GETCOUNT, CB_GETCOUNT, ItemOp::GetCount},
    {LB_GETITEMDATA, CB_GETITEMDATA, ItemOp::GetItemData},
    {LB_SETITEMDATA, CB_SETITEMDATA, ItemOp::SetItemData},
    {LB_INITSTORAGE, CB_INITSTORAGE, ItemOp::InitStorage},
};

ItemOp ItemOpOf(UINT message, bool listBox) {
    for (const ItemMessage& entry : kItemMessages) {
        if (message == (listBox ? entry.listBox : entry.comboBox)) return entry.op;
    }
    return ItemOp::None;
}

const char* TextArgument(LPARAM lParam) {
    const char* text = reinterpret_cast<const char*>(lParam);
    return text ? text : "";
}

// An index passed in a WPARAM: (WPARAM)-1 reads back as -1.
LPARAM IndexArgument(WPARAM wParam) { return static_cast<LPARAM>(wParam); }

int CopyText(std::string_view text, char* buffer, size_t capacity) {
    if (buffer == nullptr || capacity == 0) return 0;
    size_t count = std::min(text.size(), capacity - 1);
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return static_cast<int>(count);
}
}  // namespace

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::~CWnd() = default;

std::unique_ptr<CWnd> CWnd::CreateControl(const DialogControlTemplate& tmpl, CWnd* parent) {
    std::unique_ptr<CWnd> control;
    if (tmpl.className == "LISTBOX") {
        control = std::make_unique<CListBox>();
    } else if (tmpl.className == "COMBOBOX") {
        control = std::make_unique<CComboBox>();
    } else {
        control = std::make_unique<CWnd>();
    }
    control->InitFromTemplate(tmpl, parent);
    return control;
}

void CWnd::InitFromTemplate(const DialogControlTemplate& tmpl, CWnd* parent) {
    m_nID = tmpl.id;
    m_pParent = parent;
    m_className = tmpl.className;
    m_kind = KindOf(m_className);
    m_symbol = tmpl.symbol;
    m_style = tmpl.style;
    m_x = tmpl.x;
    m_y = tmpl.y;
    m_cx = tmpl.cx;
    m_cy = tmpl.cy;
    m_enabled = (tmpl.style & WS_DISABLED) == 0;
    m_visible = (tmpl.style & WS_VISIBLE) != 0;
    // A drop-down list shows the selected item, not a text of its own.
    if (!IsComboBox() && !IsListBox()) m_text = tmpl.text;
}

void CWnd::InitDialogWindow(const std::string& caption, DWORD style, CWnd* pOwner) {
    m_text = caption;
    m_style = style;
    m_pParent = pOwner;
    m_enabled = TRUE;
    m_visible = TRUE;
    m_pFocus = nullptr;
}

void CWnd::AddChild(std::unique_ptr<CWnd> child) { m_children.push_back(std::move(child)); }

void CWnd::DestroyChildren() {
    m_pFocus = nullptr;
    m_children.clear();
}

void CWnd::NotifyChanged(WindowChange change) {
    if (Backend* backend = GetActiveBackend()) backend->WindowChanged(*this, change);
}

CWnd* CWnd::TopLevel() {
    CWnd* window = this;
    while (!window->m_className.empty() && window->m_pParent != nullptr) window = window->m_pParent;
    return window;
}

CWnd* CWnd::GetDlgItem(int nID) const {
    for (const auto& child : m_children) {
        if (child->m_nID == nID) return child.get();
    }
    return nullptr;
}

void CWnd::CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
    for (const auto& child : m_children) {
        if (!child->IsButton() || child->m_nID < nIDFirstButton || child->m_nID > nIDLastButton) {
            continue;
        }
        child->SendMessage(BM_SETCHECK,
                           child->m_nID == nIDCheckButton ? BST_CHECKED : BST_UNCHECKED);
    }
}

void CWnd::SetWindowText(const char* text) {
    m_text = text ? text : "";
    m_selStart = m_selEnd = 0;
    NotifyChanged(WindowChange::Text);
}

void CWnd::GetWindowText(std::string& text) const {
    const ItemList::Item* selected = m_items.At(m_items.Selection());
    text = IsComboBox() ? std::string(selected ? selected->text : std::string_view()) : m_text;
}

int CWnd::GetWindowText(char* buffer, int maxCount) const {
    if (maxCount <= 0) return 0;
    std::string text;
    GetWindowText(text);
    return CopyText(text, buffer, static_cast<size_t>(maxCount));
}

int CWnd::GetWindowTextLength() const {
    std::string text;
    GetWindowText(text);
    return static_cast<int>(text.size());
}

BOOL CWnd::EnableWindow(BOOL bEnable) {
    BOOL wasDisabled = !m_enabled;
    BOOL enable = bEnable ? TRUE : FALSE;
    if (m_enabled == enable) return wasDisabled;
    m_enabled = enable;
    LoseFocusIfUnusable();
    NotifyChanged(WindowChange::Enabled);
    return wasDisabled;
}

BOOL CWnd::ShowWindow(int nCmdShow) {
    BOOL wasVisible = m_visible;
    BOOL show = nCmdShow != SW_HIDE;
    if (m_visible == show) return wasVisible;
    m_visible = show;
    LoseFocusIfUnusable();
    NotifyChanged(WindowChange::Visible);
    return wasVisible;
}

// A control that was hidden or disabled gives up the focus; no other control gets it.
void CWnd::LoseFocusIfUnusable() {
    CWnd* top = TopLevel();
    if (top == this || top->m_pFocus != this || (m_enabled && m_visible)) return;
    top->m_pFocus = nullptr;
    top->NotifyChanged(WindowChange::Focus);
}

CWnd* CWnd::SetFocus() { return TakeFocus(!m_enabled); }

CWnd* CWnd::SetFocusForCorrection() { return TakeFocus(false); }

CWnd* CWnd::TakeFocus(bool refused) {
    CWnd* top = TopLevel();
    CWnd* previous = top->m_pFocus;
    if (top != this && (refused || !m_visible)) return nullptr;
    top->m_pFocus = top == this ? nullptr : this;
    if (top->m_pFocus != previous) top->NotifyChanged(WindowChange::Focus);
    return previous;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM /*lParam*/) {
    return OnCmdMsg(LOWORD(wParam), HIWORD(wParam));
}

CWnd::Kind CWnd::KindOf(std::string_view className) {
    if (className == "BUTTON") return Kind::Button;
    if (className == "STATIC") return Kind::Static;
    if (className == "EDIT") return Kind::Edit;
    if (className == "COMBOBOX") return Kind::ComboBox;
    if (className == "LISTBOX") return Kind::ListBox;
    return Kind::Other;
}

bool CWnd::IsPushButton() const {
    DWORD kind = m_style & BS_TYPEMASK;
    return IsButton() && (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON);
}

bool CWnd::IsCheckBox() const {
    DWORD kind = m_style & BS_TYPEMASK;
    return IsButton() && (kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_3STATE ||
                          kind == BS_AUTO3STATE);
}

bool CWnd::IsRadioButton() const {
    DWORD kind = m_style & BS_TYPEMASK;
    return IsButton() && (kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON);
}

bool CWnd::IsGroupBox() const { return IsButton() && (m_style & BS_TYPEMASK) == BS_GROUPBOX; }

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(wParam, lParam);
            return 0;
        case WM_SETFONT:
            m_font = reinterpret_cast<HFONT>(wParam);
            NotifyChanged(WindowChange::Font);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(m_font);
        case WM_SETTEXT:
        case WM_GETTEXT:
        case WM_GETTEXTLENGTH:
            return OnTextMessage(message, wParam, lParam);
        default:
            break;
    }
    if (IsButton()) return OnButtonMessage(message, wParam);
    if (IsEdit()) return OnEditMessage(message, wParam, lParam);
    if (IsListBox() || IsComboBox()) return OnItemMessage(message, wParam, lParam);
    return 0;
}

LRESULT CWnd::OnTextMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT) {
        SetWindowText(TextArgument(lParam));
        return TRUE;
    }
    if (message == WM_GETTEXTLENGTH) return GetWindowTextLength();
    std::string text;
    GetWindowText(text);
    return CopyText(text, reinterpret_cast<char*>(lParam), wParam);
}

LRESULT CWnd::OnButtonMessage(UINT message, WPARAM wParam) {
    if (message == BM_GETCHECK) return m_check;
    if (message != BM_SETCHECK) return 0;
    int check = static_cast<int>(wParam);
    if (check != m_check) {
        m_check = check;
        NotifyChanged(WindowChange::Check);
    }
    return 0;
}

void CWnd::SetEditSel(LPARAM start, LPARAM end) {
    LPARAM length = static_cast<LPARAM>(m_text.size());
    if (start == -1) {
        // No selection: the caret stays where the selection ended.
        start = end = m_selEnd;
    }
    if (end < 0 || end > length) end = length;
    start = std::clamp<LPARAM>(start, 0, length);
    if (start > end) std::swap(start, end);
    m_selStart = static_cast<int>(start);
    m_selEnd = static_cast<int>(end);
    NotifyChanged(WindowChange::EditSelection);
}

LRESULT CWnd::OnEditMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case EM_SETSEL:
            SetEditSel(IndexArgument(wParam), lParam);
            return 0;
        case EM_GETSEL:
            if (auto* start = reinterpret_cast<DWORD*>(wParam))
                *start = static_cast<DWORD>(m_selStart);
            if (auto* end = reinterpret_cast<DWORD*>(lParam)) *end = static_cast<DWORD>(m_selEnd);
            return MAKELPARAM(static_cast<WORD>(m_selStart), static_cast<WORD>(m_selEnd));
        case EM_SCROLLCARET:
            return TRUE;
        default:
            return 0;
    }
}

LRESULT CWnd::ChangeItems(LRESULT result) {
    if (result != -1) NotifyChanged(WindowChange::Items);
    return result;
}

LRESULT CWnd::ChangeSelection(LRESULT result) {
    NotifyChanged(WindowChange::Selection);
    return result;
}

LRESULT CWnd::OnItemMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    ItemOp op = ItemOpOf(message, IsListBox());
    LPARAM index = IndexArgument(wParam);
    ItemList::Item* item = m_items.At(index);
    switch (op) {
        case ItemOp::Add:
            return ChangeItems(m_items.Add(TextArgument(lParam)));
        case ItemOp::Insert:
            return ChangeItems(m_items.Insert(index, TextArgument(lParam)));
        case ItemOp::Delete:
            return ChangeItems(m_items.Remove(index));
        case ItemOp::Reset:
            m_items.Clear();
            ChangeItems(0);
            return 0;
        case ItemOp::SetCurSel:
            return ChangeSelection(m_items.Select(index));
        case ItemOp::GetCurSel:
            return m_items.Selection();
        case ItemOp::GetText:
            if (item == nullptr || lParam == 0) return -1;
            // The caller sized the buffer from the text length, as the message requires.
            return CopyText(item->text, reinterpret_cast<char*>(lParam), item->text.size() + 1);
        case ItemOp::GetTextLen:
            return item ? static_cast<LRESULT>(item->text.size()) : -1;
        case ItemOp::GetCount:
            return m_items.Count();
        case ItemOp::GetItemData:
            return item ? static_cast<LRESULT>(item->data) : -1;
        case ItemOp::SetItemData:
            if (item == nullptr) return -1;
            item->data = static_cast<DWORD_PTR>(lParam);
            return 0;
        case ItemOp::InitStorage:
            // Room for wParam more items and lParam bytes of their texts; the list is unchanged.
            if (!m_items.Reserve(static_cast<size_t>(wParam), static_cast<size_t>(lParam)))
                return LB_ERRSPACE;
            return m_items.Count() + static_cast<LRESULT>(wParam);
        case ItemOp::None:
            return 0;
    }
    return 0;
}
