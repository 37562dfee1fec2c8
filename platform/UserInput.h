// What a person does to a running dialog, with the notifications the dialog then receives.
// Every back end feeds its input through here, so a script and a window behave alike.
//
// Each operation that can be refused returns the problem in words (empty when it was carried
// out): a hidden or disabled control, a control of the wrong kind, an index out of range.
#pragma once

#include <string>

class CDialog;
class CWnd;

class UserInput {
  public:
    // A mouse click on a button: the focus moves there first (an edit that loses it sends
    // EN_KILLFOCUS); a check box toggles, an auto radio button checks itself and unchecks the
    // others of its group; then BN_CLICKED.
    [[nodiscard]] static std::string Click(CWnd& control);
    // Choosing item index of a combo box (CBN_SELENDOK) or a list box (LBN_SELCHANGE when the
    // list box has LBS_NOTIFY), after moving the focus there.
    [[nodiscard]] static std::string Select(CWnd& control, int index);
    // Choosing the item whose text is text, as Select does; blanks at either end and runs of
    // blanks inside do not count. A text that is no item is refused, naming the items.
    [[nodiscard]] static std::string SelectItem(CWnd& control, const std::string& text);
    // Focusing an edit and replacing its text (EN_CHANGE); read-only edits refuse.
    [[nodiscard]] static std::string Type(CWnd& control, const std::string& text);
    // Moving the focus to a control; an edit gets its whole text selected.
    [[nodiscard]] static std::string Focus(CWnd& control);
    // The Enter key: a focused push button is clicked; a focused multi-line edit with
    // ES_WANTRETURN takes a line break; otherwise the default button's command is sent, unless
    // that button is disabled or hidden.
    static void Enter(CDialog& dialog);
    // WM_COMMAND with id and notification code 0, as a menu or accelerator sends it.
    static void Command(CDialog& dialog, int id);
    // The OK or Cancel button: a click on the button, or its command when the dialog has none.
    [[nodiscard]] static std::string PressButton(CDialog& dialog, int id);
    // Closing the window: IDCANCEL; a dialog that stays open is ended with IDCANCEL anyway.
    static void Close(CDialog& dialog);
};
