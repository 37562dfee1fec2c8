#include "platform/UserInput.h"

#include "base/CharClass.h"
#include "base/EscapedText.h"
#include "platform/CDialog.h"

namespace {
// How messages name a control: its symbol, else its id.
std::string Describe(const CWnd& control) {
    const std::string& symbol = control.GetResourceSymbol();
    return symbol.empty() ? std::to_string(control.GetDlgCtrlID()) : symbol;
}

void Notify(CWnd& control, UINT code) {
    CWnd* parent = control.GetParent();
    if (parent == nullptr) return;
    WPARAM wParam = MAKEWPARAM(static_cast<WORD>(control.GetDlgCtrlID()), static_cast<WORD>(code));
    parent->SendMessage(WM_COMMAND, wParam, reinterpret_cast<LPARAM>(&control));
}

bool IsUsable(const CWnd& control) {
    return control.IsWindowVisible() && control.IsWindowEnabled();
}

bool DialogEnded(const CWnd& control) {
    auto* dialog = dynamic_cast<const CDialog*>(control.GetParent());
    return dialog != nullptr && dialog->IsModalEnded();
}

std::string Unusable(const CWnd& control) {
    if (!control.IsWindowVisible()) return "control " + Describe(control) + " is hidden";
    if (!control.IsWindowEnabled()) return "control " + Describe(control) + " is disabled";
    return {};
}

// Moves the focus as a person does; true when the control still takes input afterwards (a
// handler of the focus change may have disabled it or ended the dialog).
bool MoveFocus(CWnd& control) {
    CWnd* parent = control.GetParent();
    CWnd* previous = parent ? parent->GetFocusedChild() : nullptr;
    if (previous != &control) {
        control.SetFocus();
        if (previous != nullptr && previous->IsEdit()) Notify(*previous, EN_KILLFOCUS);
        if (control.IsEdit()) Notify(control, EN_SETFOCUS);
    }
    return IsUsable(control) && !DialogEnded(control);
}

void ToggleCheckBox(CWnd& control) {
    DWORD kind = control.GetStyle() & BS_TYPEMASK;
    if (kind == BS_AUTOCHECKBOX) {
        control.SendMessage(BM_SETCHECK,
                            control.GetCheck() == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
    } else if (kind == BS_AUTO3STATE) {
        control.SendMessage(BM_SETCHECK, static_cast<WPARAM>((control.GetCheck() + 1) % 3));
    }
}

// A group runs from a control with WS_GROUP up to the next control with WS_GROUP.
void CheckRadioInGroup(CWnd& control) {
    CWnd* parent = control.GetParent();
    if (parent == nullptr || (control.GetStyle() & BS_TYPEMASK) != BS_AUTORADIOBUTTON) return;
    const auto& children = parent->GetChildren();
    size_t index = 0;
    while (index < children.size() && children[index].get() != &control) ++index;
    size_t first = index;
    while (first > 0 && (children[first]->GetStyle() & WS_GROUP) == 0) --first;
    for (size_t i = first; i < children.size(); ++i) {
        if (i > first && (children[i]->GetStyle() & WS_GROUP) != 0) break;
        CWnd& member = *children[i];
        if (member.IsRadioButton()) {
            member.SendMessage(BM_SETCHECK, &member == &control ? BST_CHECKED : BST_UNCHECKED);
        }
    }
}

CWnd* DefaultButton(CDialog& dialog) {
    for (const auto& child : dialog.GetChildren()) {
        if (child->IsButton() && (child->GetStyle() & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
            return child.get();
        }
    }
    return dialog.GetDlgItem(IDOK);
}

// The words of text joined by single blanks, so that padding never decides a match.
std::string WithoutPadding(std::string_view text) {
    std::string plain;
    bool blank = false;
    for (char c : text) {
        if (IsBlank(c)) {
            blank = !plain.empty();
            continue;
        }
        if (blank) plain += ' ';
        blank = false;
        plain += c;
    }
    return plain;
}

// The index of the first item whose text is text, padding aside; -1 when there is none.
int ItemIndex(const CWnd& control, const std::string& text) {
    const auto& items = control.GetItems().Items();
    const std::string wanted = WithoutPadding(text);
    for (size_t i = 0; i < items.size(); ++i) {
        if (WithoutPadding(items[i].text) == wanted) return static_cast<int>(i);
    }
    return -1;
}

// The first items' texts, quoted, for a message; a long list ends with how many more it has.
std::string ItemTexts(const CWnd& control) {
    constexpr size_t kShown = 10;
    const auto& items = control.GetItems().Items();
    if (items.empty()) return "no items";
    std::string list = "items";
    for (size_t i = 0; i < items.size() && i < kShown; ++i)
        list += (i ? ", \"" : " \"") + std::string(items[i].text) + "\"";
    if (items.size() > kShown) list += " and " + std::to_string(items.size() - kShown) + " more";
    return list;
}

void InsertLineBreak(CWnd& edit) {
    if (edit.GetStyle() & ES_READONLY) return;
    std::string text;
    edit.GetWindowText(text);
    size_t start = static_cast<size_t>(edit.GetEditSelStart());
    size_t end = static_cast<size_t>(edit.GetEditSelEnd());
    text.replace(start, end - start, "\r\n");
    edit.SetWindowText(text.c_str());
    edit.SendMessage(EM_SETSEL, start + 2, static_cast<LPARAM>(start + 2));
    Notify(edit, EN_CHANGE);
}
}  // namespace

std::string UserInput::Click(CWnd& control) {
    if (!control.IsButton() || control.IsGroupBox()) {
        return "control " + Describe(control) + " is not a button";
    }
    if (std::string problem = Unusable(control); !problem.empty()) return problem;
    if (!MoveFocus(control)) return {};
    ToggleCheckBox(control);
    CheckRadioInGroup(control);
    Notify(control, BN_CLICKED);
    return {};
}

std::string UserInput::Select(CWnd& control, int index) {
    if (!control.IsComboBox() && !control.IsListBox()) {
        return "control " + Describe(control) + " is not a combo box or list box";
    }
    if (std::string problem = Unusable(control); !problem.empty()) return problem;
    int count = control.GetItems().Count();
    if (index < 0 || index >= count) {
        return "index " + std::to_string(index) + " is out of range: control " + Describe(control) +
               " has " + std::to_string(count) + " items";
    }
    if (!MoveFocus(control)) return {};
    if (control.IsComboBox()) {
        control.SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index));
        Notify(control, CBN_SELENDOK);
        return {};
    }
    control.SendMessage(LB_SETCURSEL, static_cast<WPARAM>(index));
    if (control.GetStyle() & LBS_NOTIFY) Notify(control, LBN_SELCHANGE);
    return {};
}

std::string UserInput::SelectItem(CWnd& control, const std::string& text) {
    const int index = ItemIndex(control, text);
    if (index < 0 && (control.IsComboBox() || control.IsListBox()) && IsUsable(control)) {
        return Quoted(text) + " is no item of control " + Describe(control) + ", which has " +
               ItemTexts(control);
    }
    // Select refuses a control of another kind, or a hidden or disabled one.
    return Select(control, index);
}

std::string UserInput::Type(CWnd& control, const std::string& text) {
    if (!control.IsEdit()) return "control " + Describe(control) + " is not an edit box";
    if (std::string problem = Unusable(control); !problem.empty()) return problem;
    if (control.GetStyle() & ES_READONLY) return "control " + Describe(control) + " is read-only";
    if (!MoveFocus(control)) return {};
    control.SetWindowText(text.c_str());
    control.SendMessage(EM_SETSEL, text.size(), static_cast<LPARAM>(text.size()));
    Notify(control, EN_CHANGE);
    return {};
}

std::string UserInput::Focus(CWnd& control) {
    if (control.IsStatic() || control.IsGroupBox()) {
        return "control " + Describe(control) + " cannot take the focus";
    }
    if (std::string problem = Unusable(control); !problem.empty()) return problem;
    if (MoveFocus(control) && control.IsEdit()) control.SendMessage(EM_SETSEL, 0, -1);
    return {};
}

void UserInput::Enter(CDialog& dialog) {
    CWnd* focus = dialog.GetFocusedChild();
    if (focus != nullptr && focus->IsPushButton()) {
        Notify(*focus, BN_CLICKED);
        return;
    }
    if (focus != nullptr && focus->IsEdit() &&
        (focus->GetStyle() & (ES_MULTILINE | ES_WANTRETURN)) == (ES_MULTILINE | ES_WANTRETURN)) {
        InsertLineBreak(*focus);
        return;
    }
    CWnd* button = DefaultButton(dialog);
    if (button != nullptr && !IsUsable(*button)) return;
    int id = button ? button->GetDlgCtrlID() : IDOK;
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                       reinterpret_cast<LPARAM>(button));
}

void UserInput::Command(CDialog& dialog, int id) {
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0);
}

std::string UserInput::PressButton(CDialog& dialog, int id) {
    if (CWnd* button = dialog.GetDlgItem(id)) return Click(*button);
    Command(dialog, id);
    return {};
}

void UserInput::Close(CDialog& dialog) {
    Command(dialog, IDCANCEL);
    if (!dialog.IsModalEnded()) dialog.EndDialog(IDCANCEL);
}
