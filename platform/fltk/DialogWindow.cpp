#include "platform/fltk/DialogWindow.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Multiline_Input.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Round_Button.H>

#include <algorithm>

#include "platform/CDialog.h"
#include "platform/CFont.h"
#include "platform/UserInput.h"
#include "platform/fltk/DialogLayout.h"
#include "platform/fltk/GroupFrame.h"
#include "platform/fltk/ListView.h"
#include "platform/fltk/ModalWindows.h"
#include "platform/fltk/ToolkitText.h"

DialogWindow::DialogWindow(CDialog& dialog, DocumentTitle document)
    : Fl_Double_Window(0, 0, 1, 1), m_dialog(dialog), m_document(std::move(document)) {
    if (const DialogTemplate* tmpl = dialog.GetTemplate()) {
        PixelRect rect = DialogLayout::DialogRect(*tmpl);
        size(std::max(rect.width, 1), std::max(rect.height, 1));
    }
    m_templateRect = {0, 0, w(), h()};
    for (const auto& child : dialog.GetChildren()) {
        Fl_Widget* widget = CreateWidget(*child);
        SetUpWidget(*widget, *child);
        m_placed[widget] = DialogLayout::ControlRect(*child);
    }
    end();
    callback(OnClose);
    set_modal();
    ChooseMainList();
    // A dialog without a list keeps its template's size; one with a list grows from it.
    if (m_mainList != nullptr) {
        resizable(this);
        size_range(w(), h());
    }
}

void DialogWindow::ChooseMainList() {
    long largest = 0;
    for (const auto& [control, widget] : m_widgets) {
        auto* list = dynamic_cast<ListView*>(widget);
        if (list == nullptr) continue;
        const long area = static_cast<long>(list->w()) * list->h();
        if (area <= largest) continue;
        largest = area;
        m_mainList = list;
        m_mainListControl = control;
        m_mainListRect = m_placed[widget];
    }
}

PixelRect DialogWindow::GrownRect(const PixelRect& placed, int extraWidth, int extraHeight) const {
    const PixelRect& list = m_mainListRect;
    PixelRect grown = placed;
    const bool containsList = placed.x <= list.x && placed.y <= list.y &&
                              placed.x + placed.width >= list.x + list.width &&
                              placed.y + placed.height >= list.y + list.height;
    if (containsList) {
        // The list itself, and a frame around it, take the extra room.
        grown.width += extraWidth;
        grown.height += extraHeight;
        return grown;
    }
    if (placed.y >= list.y + list.height) grown.y += extraHeight;
    if (placed.x >= list.x + list.width) grown.x += extraWidth;
    return grown;
}

void DialogWindow::resize(int x, int y, int width, int height) {
    if (m_mainList == nullptr) {
        Fl_Double_Window::resize(x, y, width, height);
        return;
    }
    // The toolkit's own rule would stretch every control that the list spans across.
    Fl_Widget::resize(x, y, width, height);
    const int extraWidth = std::max(width - m_templateRect.width, 0);
    const int extraHeight = std::max(height - m_templateRect.height, 0);
    for (const auto& [widget, placed] : m_placed) {
        const PixelRect r = GrownRect(placed, extraWidth, extraHeight);
        const_cast<Fl_Widget*>(widget)->resize(r.x, r.y, r.width, r.height);
    }
    redraw();
}

// The drop-down lists point into m_menus, so the widgets go first.
DialogWindow::~DialogWindow() { clear(); }

bool DialogWindow::Shows(const CWnd& window) const {
    return &window == &m_dialog || m_widgets.count(&window) != 0;
}

Fl_Widget* DialogWindow::CreateWidget(CWnd& control) {
    PixelRect r = DialogLayout::ControlRect(control);
    if (control.IsButton()) return CreateButton(control, r.x, r.y, r.width, r.height);
    if (control.IsEdit()) return CreateEdit(control, r.x, r.y, r.width, r.height);
    if (control.IsComboBox()) {
        auto* choice = new Fl_Choice(r.x, r.y, r.width, r.height);
        choice->textsize(DialogLayout::kFontSize);
        choice->when(FL_WHEN_RELEASE_ALWAYS);
        choice->callback(OnChoice, &control);
        return choice;
    }
    if (control.IsListBox()) {
        auto* list = new ListView(r.x, r.y, r.width, r.height, control.GetItems());
        list->TextSize(DialogLayout::kFontSize);
        list->when(FL_WHEN_CHANGED);
        list->callback(OnList, &control);
        return list;
    }
    auto* text = new Fl_Box(r.x, r.y, r.width, r.height);
    text->align(StaticAlignment(control));
    text->clear_visible_focus();
    return text;
}

Fl_Widget* DialogWindow::CreateButton(CWnd& control, int x, int y, int width, int height) {
    Fl_Button* button = nullptr;
    if (control.IsGroupBox()) return new GroupFrame(x, y, width, height);
    if (control.IsCheckBox()) {
        button = new Fl_Check_Button(x, y, width, height);
    } else if (control.IsRadioButton()) {
        button = new Fl_Round_Button(x, y, width, height);
    } else if ((control.GetStyle() & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
        button = new Fl_Return_Button(x, y, width, height);
    } else {
        button = new Fl_Button(x, y, width, height);
    }
    if (control.IsCheckBox() || control.IsRadioButton()) {
        // The control decides the check; the widget only shows it.
        button->type(FL_TOGGLE_BUTTON);
        Fl_Align align = FL_ALIGN_LEFT | FL_ALIGN_INSIDE;
        if (control.GetStyle() & BS_MULTILINE) align |= FL_ALIGN_WRAP;
        button->align(align);
    }
    button->callback(OnButton, &control);
    return button;
}

Fl_Widget* DialogWindow::CreateEdit(CWnd& control, int x, int y, int width, int height) {
    DWORD style = control.GetStyle();
    Fl_Input* input = (style & ES_MULTILINE) ? new Fl_Multiline_Input(x, y, width, height)
                                             : new Fl_Input(x, y, width, height);
    // A multi-line edit without horizontal scrolling wraps its lines.
    if ((style & ES_MULTILINE) && !(style & ES_AUTOHSCROLL)) input->wrap(1);
    if (style & ES_READONLY) {
        input->readonly(1);
        input->color(FL_BACKGROUND_COLOR);
    }
    input->textsize(DialogLayout::kFontSize);
    input->when(FL_WHEN_CHANGED);
    input->callback(OnInput, &control);
    return input;
}

void DialogWindow::SetUpWidget(Fl_Widget& widget, CWnd& control) {
    widget.labelsize(DialogLayout::kFontSize);
    m_widgets[&control] = &widget;
    m_controls[&widget] = &control;
}

Fl_Widget* DialogWindow::WidgetOf(const CWnd& control) const {
    auto found = m_widgets.find(&control);
    return found == m_widgets.end() ? nullptr : found->second;
}

CWnd* DialogWindow::ControlOf(Fl_Widget* widget) const {
    for (; widget != nullptr && widget != this; widget = widget->parent()) {
        auto found = m_controls.find(widget);
        if (found != m_controls.end()) return found->second;
    }
    return nullptr;
}

void DialogWindow::ShowCentred() {
    position((Fl::w() - w()) / 2, (Fl::h() - h()) / 2);
    show();
}

void DialogWindow::RethrowFailure() const {
    if (m_failure) std::rethrow_exception(m_failure);
}

void DialogWindow::MirrorAll() {
    MirrorDialog(WindowChange::Text);
    for (const auto& child : m_dialog.GetChildren()) MirrorControl(*child);
    MirrorFocus();
}

void DialogWindow::MirrorControl(CWnd& control) {
    for (WindowChange change :
         {WindowChange::Font, WindowChange::Items, WindowChange::Text, WindowChange::Check,
          WindowChange::Enabled, WindowChange::Visible}) {
        Mirror(control, change);
    }
}

void DialogWindow::Mirror(CWnd& window, WindowChange change) {
    if (&window == &m_dialog) {
        MirrorDialog(change);
        return;
    }
    Fl_Widget* widget = WidgetOf(window);
    if (widget == nullptr) return;
    switch (change) {
        case WindowChange::Text:
            MirrorText(window, *widget);
            break;
        case WindowChange::Enabled:
            window.IsWindowEnabled() ? widget->activate() : widget->deactivate();
            break;
        case WindowChange::Visible:
            window.IsWindowVisible() ? widget->show() : widget->hide();
            break;
        case WindowChange::Check:
            MirrorCheck(window, *widget);
            break;
        case WindowChange::Items:
            MirrorItems(window, *widget);
            break;
        case WindowChange::Selection:
            MirrorSelection(window, *widget);
            break;
        case WindowChange::Font:
            MirrorFont(window, *widget);
            break;
        case WindowChange::EditSelection:
            MirrorEditSelection(window, *widget);
            break;
        case WindowChange::Focus:
            break;
    }
}

void DialogWindow::MirrorDialog(WindowChange change) {
    switch (change) {
        case WindowChange::Text:
            ShowTitle();
            break;
        case WindowChange::Visible:
            if (m_dialog.IsWindowVisible()) {
                show();
            } else {
                hide();
            }
            break;
        case WindowChange::Focus:
            MirrorFocus();
            break;
        default:
            break;
    }
}

void DialogWindow::MirrorText(const CWnd& control, Fl_Widget& widget) {
    if (&control == m_copyingFrom || control.IsComboBox() || control.IsListBox()) return;
    std::string text;
    control.GetWindowText(text);
    if (auto* input = dynamic_cast<Fl_Input_*>(&widget)) {
        std::string shown = IsMultiLineEdit(control) ? ToToolkitLineEnds(text) : text;
        if (shown != input->value()) input->value(shown.c_str());
        return;
    }
    widget.copy_label(LabelText(text, KeepsMnemonics(control)).c_str());
}

// Only check boxes and radio buttons show a check; a push button's value is its pressed state.
void DialogWindow::MirrorCheck(const CWnd& control, Fl_Widget& widget) {
    if (!control.IsCheckBox() && !control.IsRadioButton()) return;
    if (auto* button = dynamic_cast<Fl_Button*>(&widget)) {
        button->value(control.GetCheck() != BST_UNCHECKED ? 1 : 0);
    }
}

void DialogWindow::ShowTitle() {
    std::string caption;
    m_dialog.GetWindowText(caption);
    if (!m_document.name.empty() && m_mainListControl != nullptr) {
        caption += " - " + m_document.name + " (" +
                   std::to_string(m_mainListControl->GetItems().Count()) + " " +
                   m_document.rowNoun + ")";
    }
    if (caption == m_title) return;
    m_title = caption;
    label(m_title.c_str());
}

void DialogWindow::MirrorItems(const CWnd& control, Fl_Widget& widget) {
    if (&control == m_mainListControl) ShowTitle();
    const auto& items = control.GetItems().Items();
    // A list reads its rows where it draws them: one change costs it no more than a redraw.
    if (auto* list = dynamic_cast<ListView*>(&widget)) {
        list->ItemsChanged();
    } else if (auto* choice = dynamic_cast<Fl_Choice*>(&widget)) {
        ChoiceMenu& menu = m_menus[&control];
        menu.labels.clear();
        for (const auto& item : items)
            menu.labels.push_back(LabelText(std::string(item.text), false));
        // Value-initialised items are empty; the last one ends the menu.
        menu.items.assign(items.size() + 1, Fl_Menu_Item{});
        for (size_t n = 0; n < items.size(); ++n) {
            menu.items[n].label(menu.labels[n].c_str());
            menu.items[n].labelsize(choice->textsize());
        }
        choice->menu(menu.items.data());
    }
    MirrorSelection(control, widget);
}

void DialogWindow::MirrorSelection(const CWnd& control, Fl_Widget& widget) {
    int selection = control.GetItems().Selection();
    if (auto* list = dynamic_cast<ListView*>(&widget)) {
        list->ShowSelected(selection);
    } else if (auto* choice = dynamic_cast<Fl_Choice*>(&widget)) {
        if (selection < 0) {
            choice->value(static_cast<const Fl_Menu_Item*>(nullptr));
        } else {
            choice->value(selection);
        }
        choice->redraw();
    }
}

void DialogWindow::MirrorFont(const CWnd& control, Fl_Widget& widget) {
    LOGFONT font{};
    bool chosen = CFont::GetLogFont(control.GetFont(), &font) != FALSE;
    Fl_Font face = chosen && IsFixedPitch(font) ? FL_COURIER : FL_HELVETICA;
    int size = chosen ? FontPixels(font) : DialogLayout::kFontSize;
    widget.labelfont(face);
    widget.labelsize(size);
    if (auto* list = dynamic_cast<ListView*>(&widget)) {
        list->TextFont(face);
        list->TextSize(size);
    } else if (auto* input = dynamic_cast<Fl_Input_*>(&widget)) {
        input->textfont(face);
        input->textsize(size);
    } else if (auto* choice = dynamic_cast<Fl_Choice*>(&widget)) {
        choice->textfont(face);
        choice->textsize(size);
    }
    widget.redraw();
}

void DialogWindow::MirrorEditSelection(const CWnd& control, Fl_Widget& widget) {
    auto* input = dynamic_cast<Fl_Input_*>(&widget);
    if (input == nullptr || &control == m_copyingFrom) return;
    std::string text;
    control.GetWindowText(text);
    bool multiLine = IsMultiLineEdit(control);
    // The caret stands at the end of the selection.
    input->position(ToolkitOffset(text, control.GetEditSelEnd(), multiLine),
                    ToolkitOffset(text, control.GetEditSelStart(), multiLine));
}

void DialogWindow::MirrorFocus() {
    CWnd* focused = m_dialog.GetFocusedChild();
    Fl_Widget* widget = focused ? WidgetOf(*focused) : nullptr;
    if (widget == nullptr || Fl::focus() == widget) return;
    Fl::focus(widget);
    widget->redraw();
}

template <class Action>
void DialogWindow::Act(Action action) {
    // The toolkit routes some shortcuts by the mouse position, also to a window under a prompt.
    if (Failed() || ModalWindows::IsCovered(this)) return;
    try {
        // A refusal (see UserInput) needs no answer in a window: the widgets offer only what
        // their controls take, and a control that refused keeps showing its own state.
        action();
    } catch (...) {
        m_failure = std::current_exception();
    }
}

// A check box, a drop-down list or a list box changes its widget before the control hears of
// it; the control's state, which may have refused the change, is what stays on screen.
void DialogWindow::ShowOwnState(const CWnd& control, Fl_Widget& widget) {
    MirrorCheck(control, widget);
    if (control.IsComboBox() || control.IsListBox()) MirrorSelection(control, widget);
}

// The keys a dialog handles itself, wherever the focus is: Enter, Escape and Tab.
bool DialogWindow::HandleDialogKey() {
    if (Fl::event_state() & (FL_CTRL | FL_ALT | FL_META)) return false;
    switch (Fl::event_key()) {
        case FL_Enter:
        case FL_KP_Enter:
            Act([this] { UserInput::Enter(m_dialog); });
            return true;
        case FL_Escape:
            Act([this] { UserInput::Command(m_dialog, IDCANCEL); });
            return true;
        case FL_Tab:
            MoveTabFocus((Fl::event_state() & FL_SHIFT) != 0);
            return true;
        case FL_Up:
        case FL_Down:
            // The dialog sends the focus on to an edit when a row is chosen; there Up and Down
            // do nothing, so they go on stepping through the list.
            if (m_mainList == nullptr || !FocusIgnoresUpDown() || !m_mainList->active_r() ||
                !m_mainList->visible_r())
                return false;
            m_mainList->Step(Fl::event_key() == FL_Up ? -1 : 1);
            return true;
        default:
            return false;
    }
}

bool DialogWindow::FocusIgnoresUpDown() const {
    const Fl_Widget* focused = Fl::focus();
    if (focused == nullptr || !contains(focused)) return true;
    if (dynamic_cast<const Fl_Multiline_Input*>(focused) != nullptr) return false;
    return dynamic_cast<const Fl_Input*>(focused) != nullptr;
}

// Tab moves to the next usable control with a tab stop in template order, Shift+Tab back.
void DialogWindow::MoveTabFocus(bool backwards) {
    const auto& children = m_dialog.GetChildren();
    auto count = static_cast<int>(children.size());
    if (count == 0) return;
    int start = backwards ? 0 : count - 1;
    for (int n = 0; n < count; ++n) {
        if (children[n].get() == m_dialog.GetFocusedChild()) start = n;
    }
    int step = backwards ? count - 1 : 1;
    for (int n = 1; n <= count; ++n) {
        CWnd& candidate = *children[(start + n * step) % count];
        bool usable = candidate.IsWindowVisible() && candidate.IsWindowEnabled();
        if (!usable || (candidate.GetStyle() & WS_TABSTOP) == 0) continue;
        Act([&candidate] { return UserInput::Focus(candidate); });
        return;
    }
}

// A click gives a widget the toolkit's focus; the dialog learns of it as a focus change.
void DialogWindow::FollowToolkitFocus() {
    if (Failed() || m_dialog.IsModalEnded()) return;
    CWnd* control = ControlOf(Fl::focus());
    if (control == nullptr || control == m_dialog.GetFocusedChild()) return;
    Act([control] { return UserInput::Focus(*control); });
}

// Typed text reaches the control at once, so that a command sees it; without notifications.
void DialogWindow::CopyTextToControl(CWnd& control, const Fl_Input_& input) {
    bool multiLine = IsMultiLineEdit(control);
    std::string text = multiLine ? ToControlLineEnds(input.value()) : input.value();
    int start = std::min(input.position(), input.mark());
    int end = std::max(input.position(), input.mark());
    m_copyingFrom = &control;
    control.SetWindowText(text.c_str());
    control.SendMessage(EM_SETSEL,
                        static_cast<WPARAM>(ControlOffset(input.value(), start, multiLine)),
                        ControlOffset(input.value(), end, multiLine));
    m_copyingFrom = nullptr;
}

DialogWindow& DialogWindow::Of(Fl_Widget* widget) {
    return *static_cast<DialogWindow*>(widget->window());
}

void DialogWindow::OnButton(Fl_Widget* widget, void* control) {
    auto* target = static_cast<CWnd*>(control);
    Of(widget).Act([target] { return UserInput::Click(*target); });
    Of(widget).ShowOwnState(*target, *widget);
}

void DialogWindow::OnChoice(Fl_Widget* widget, void* control) {
    auto* target = static_cast<CWnd*>(control);
    int index = static_cast<Fl_Choice*>(widget)->value();
    if (index >= 0) Of(widget).Act([target, index] { return UserInput::Select(*target, index); });
    Of(widget).ShowOwnState(*target, *widget);
}

void DialogWindow::OnList(Fl_Widget* widget, void* control) {
    auto* target = static_cast<CWnd*>(control);
    int row = static_cast<ListView*>(widget)->Selected();
    if (row >= 0) Of(widget).Act([target, row] { return UserInput::Select(*target, row); });
    Of(widget).ShowOwnState(*target, *widget);
}

void DialogWindow::OnInput(Fl_Widget* widget, void* control) {
    Of(widget).CopyTextToControl(*static_cast<CWnd*>(control), *static_cast<Fl_Input_*>(widget));
}

void DialogWindow::OnClose(Fl_Widget* widget, void* /*unused*/) {
    auto& window = *static_cast<DialogWindow*>(widget);
    window.Act([&window] { UserInput::Close(window.m_dialog); });
}
