// A window: a dialog or one of its controls. The framework keeps each window's whole state
// (text, enabled, visible, check, items, selection, font, edit selection); the active back end
// presents it and is told of every change. Changes made by the program send no notifications;
// only user input (see UserInput) does.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Backend.h"
#include "platform/CCmdTarget.h"
#include "platform/ItemList.h"
#include "platform/WinDefs.h"

struct DialogControlTemplate;

class CWnd : public CCmdTarget {
  public:
    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // Builds the control of a template as a child of parent (a list box or combo box class
    // where the template asks for one).
    static std::unique_ptr<CWnd> CreateControl(const DialogControlTemplate& tmpl, CWnd* parent);

    int GetDlgCtrlID() const { return m_nID; }
    CWnd* GetParent() const { return m_pParent; }
    DWORD GetStyle() const { return m_style; }
    // BUTTON, STATIC, EDIT, COMBOBOX or LISTBOX for controls; empty for a dialog.
    const std::string& GetWindowClass() const { return m_className; }
    // The control id's symbol in the resource script, or empty.
    const std::string& GetResourceSymbol() const { return m_symbol; }
    // Position and size in dialog units, from the template.
    int GetTemplateX() const { return m_x; }
    int GetTemplateY() const { return m_y; }
    int GetTemplateWidth() const { return m_cx; }
    int GetTemplateHeight() const { return m_cy; }

    // The first child with this id, or null.
    CWnd* GetDlgItem(int nID) const;
    // The children in template order, which is the tab order.
    const std::vector<std::unique_ptr<CWnd>>& GetChildren() const { return m_children; }
    // Checks the radio button nIDCheck and unchecks the other buttons with ids first..last.
    void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton);

    void SetWindowText(const char* text);
    // Copies at most maxCount - 1 characters and a terminating zero; returns the count copied.
    int GetWindowText(char* buffer, int maxCount) const;
    void GetWindowText(std::string& text) const;
    int GetWindowTextLength() const;

    // Returns nonzero when the window was disabled before.
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const { return m_enabled; }
    // SW_HIDE hides, anything else shows; returns nonzero when the window was visible before.
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const { return m_visible; }
    // Moves the focus of the dialog here; returns the window that had it. A hidden or disabled
    // window cannot take the focus: then nothing changes and the result is null.
    CWnd* SetFocus();
    // The focus also for a disabled control, as a refused data exchange gives it, so that the
    // user sees which control to correct; a hidden control still cannot take it.
    CWnd* SetFocusForCorrection();

    // The window messages of the framework, on the window's state; unknown messages give 0.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // WM_COMMAND: runs the handler the message map chain binds to the notification code (high
    // word) and id (low word) of wParam; TRUE when one ran.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);

    // State for the back ends.
    int GetCheck() const { return m_check; }
    const ItemList& GetItems() const { return m_items; }
    HFONT GetFont() const { return m_font; }
    int GetEditSelStart() const { return m_selStart; }
    int GetEditSelEnd() const { return m_selEnd; }
    // The control with the focus, on a dialog; null when none has it.
    CWnd* GetFocusedChild() const { return m_pFocus; }

    bool IsButton() const { return m_kind == Kind::Button; }
    bool IsPushButton() const;
    bool IsCheckBox() const;
    bool IsRadioButton() const;
    bool IsGroupBox() const;
    bool IsStatic() const { return m_kind == Kind::Static; }
    bool IsEdit() const { return m_kind == Kind::Edit; }
    bool IsComboBox() const { return m_kind == Kind::ComboBox; }
    bool IsListBox() const { return m_kind == Kind::ListBox; }

  protected:
    // Sets up the window state of a dialog from its template.
    void InitDialogWindow(const std::string& caption, DWORD style, CWnd* pOwner);
    void AddChild(std::unique_ptr<CWnd> child);
    void DestroyChildren();
    // Tells the back end about a change of this window.
    void NotifyChanged(WindowChange change);

    DECLARE_MESSAGE_MAP()

  private:
    void InitFromTemplate(const DialogControlTemplate& tmpl, CWnd* parent);
    CWnd* TopLevel();
    void LoseFocusIfUnusable();
    // The focus for this control unless refused or hidden; returns the previous focus.
    CWnd* TakeFocus(bool refused);
    void SetEditSel(LPARAM start, LPARAM end);
    LRESULT OnTextMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnButtonMessage(UINT message, WPARAM wParam);
    LRESULT OnEditMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnItemMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT ChangeItems(LRESULT result);
    LRESULT ChangeSelection(LRESULT result);

    int m_nID = 0;
    CWnd* m_pParent = nullptr;
    std::string m_className;
    // The class as the messages ask for it, found once: a list of a million rows is filled
    // with as many messages.
    enum class Kind : unsigned char { Other, Button, Static, Edit, ComboBox, ListBox };
    Kind m_kind = Kind::Other;
    static Kind KindOf(std::string_view className);
    std::string m_symbol;
    DWORD m_style = 0;
    int m_x = 0;
    int m_y = 0;
    int m_cx = 0;
    int m_cy = 0;
    std::string m_text;
    BOOL m_enabled = TRUE;
    BOOL m_visible = TRUE;
    int m_check = BST_UNCHECKED;
    ItemList m_items;
    HFONT m_font = nullptr;
    int m_selStart = 0;
    int m_selEnd = 0;
    CWnd* m_pFocus = nullptr;
    std::vector<std::unique_ptr<CWnd>> m_children;
};
