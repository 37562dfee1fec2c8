// A running modal dialog in a real window: one widget per control, placed from the template's
// dialog units. The window mirrors every change of the dialog's state, and passes what the
// user does through UserInput, so that a window and a script act alike.
#pragma once

#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Menu_Item.H>

#include <exception>
#include <map>
#include <string>
#include <vector>

#include "platform/Backend.h"
#include "platform/fltk/DialogLayout.h"

class CDialog;
class ListView;
class CWnd;
class Fl_Input_;

// What the window's title names besides the dialog's caption: the document the dialog edits
// and what the rows of its main list are called ("segments"), so that a title reads
// "Caption - file.element (12 segments)". Empty: the caption alone.
struct DocumentTitle {
    std::string name;
    std::string rowNoun;
};

class DialogWindow : public Fl_Double_Window {
  public:
    explicit DialogWindow(CDialog& dialog, DocumentTitle document = {});
    ~DialogWindow() override;
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    // True for the dialog and its controls.
    bool Shows(const CWnd& window) const;
    void Mirror(CWnd& window, WindowChange change);
    // Shows the whole state of the dialog and every control.
    void MirrorAll();
    void ShowCentred();
    // The keys a dialog handles itself, wherever its focus is: Enter, Escape and Tab.
    bool HandleDialogKey();
    // After a click or a key, tells the dialog where the toolkit moved the focus.
    void FollowToolkitFocus();
    // Gives the toolkit's focus to the widget of the dialog's focused control.
    void MirrorFocus();
    // Whether the dialog's code threw while handling input; RethrowFailure passes it on.
    bool Failed() const { return m_failure != nullptr; }
    void RethrowFailure() const;
    // A dialog with a list box grows with its window: the largest list takes the extra room,
    // the controls below it move down and those to its right move right.
    void resize(int x, int y, int width, int height) override;

  private:
    // The items of a drop-down list, with the labels they point to.
    struct ChoiceMenu {
        std::vector<std::string> labels;
        std::vector<Fl_Menu_Item> items;
    };

    Fl_Widget* CreateWidget(CWnd& control);
    Fl_Widget* CreateButton(CWnd& control, int x, int y, int width, int height);
    Fl_Widget* CreateEdit(CWnd& control, int x, int y, int width, int height);
    void SetUpWidget(Fl_Widget& widget, CWnd& control);
    Fl_Widget* WidgetOf(const CWnd& control) const;
    // The control a widget (or the widget it is part of) shows, or null.
    CWnd* ControlOf(Fl_Widget* widget) const;

    void MirrorDialog(WindowChange change);
    void ShowTitle();
    // The dialog's largest list box, which grows with the window, and its control; null for none.
    void ChooseMainList();
    PixelRect GrownRect(const PixelRect& placed, int extraWidth, int extraHeight) const;
    bool FocusIgnoresUpDown() const;
    void MirrorControl(CWnd& control);
    void MirrorText(const CWnd& control, Fl_Widget& widget);
    void MirrorCheck(const CWnd& control, Fl_Widget& widget);
    void MirrorItems(const CWnd& control, Fl_Widget& widget);
    void MirrorSelection(const CWnd& control, Fl_Widget& widget);
    void MirrorFont(const CWnd& control, Fl_Widget& widget);
    void MirrorEditSelection(const CWnd& control, Fl_Widget& widget);

    // Runs the user's action on the dialog and keeps what the dialog's code threw.
    template <class Action>
    void Act(Action action);
    void ShowOwnState(const CWnd& control, Fl_Widget& widget);
    void MoveTabFocus(bool backwards);
    void CopyTextToControl(CWnd& control, const Fl_Input_& input);

    static DialogWindow& Of(Fl_Widget* widget);
    static void OnButton(Fl_Widget* widget, void* control);
    static void OnChoice(Fl_Widget* widget, void* control);
    static void OnList(Fl_Widget* widget, void* control);
    static void OnInput(Fl_Widget* widget, void* control);
    static void OnClose(Fl_Widget* widget, void* unused);

    CDialog& m_dialog;
    std::map<const CWnd*, Fl_Widget*> m_widgets;
    std::map<const Fl_Widget*, CWnd*> m_controls;
    std::map<const CWnd*, ChoiceMenu> m_menus;
    // The edit whose text is being copied from its widget, which must not be written back.
    const CWnd* m_copyingFrom = nullptr;
    std::exception_ptr m_failure;
    DocumentTitle m_document;
    std::string m_title;
    ListView* m_mainList = nullptr;
    const CWnd* m_mainListControl = nullptr;
    PixelRect m_mainListRect;
    PixelRect m_templateRect;                        // the dialog's size in its template
    std::map<const Fl_Widget*, PixelRect> m_placed;  // each widget where the template puts it
};
