#include "platform/fltk/ModalWindows.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/fltk/DialogWindow.h"

namespace {
bool IsKeyboardInput(int event) { return event == FL_KEYBOARD || event == FL_SHORTCUT; }

bool IsMouseInput(int event) {
    return event == FL_PUSH || event == FL_RELEASE || event == FL_DRAG || event == FL_MOUSEWHEEL;
}

// A window that lost the toolkit's focus to a closed prompt gets it back before it reads keys:
// a dialog at its focused control, another window at its first widget that takes it.
void RestoreFocus(Fl_Window& window) {
    if (window.contains(Fl::focus())) return;
    if (auto* dialogWindow = dynamic_cast<DialogWindow*>(&window)) {
        dialogWindow->MirrorFocus();
        return;
    }
    window.take_focus();
}

// A program driving the windows from outside (the window tests) cannot see when a closed
// window's answer has been taken: the toolkit may still be handling the events that arrived
// with the one that closed it. With VANTREL_WINDOW_TRACE naming a file, each modal window that
// ends adds the line "closed TITLE" to it once no input can reach that window any more.
void TraceClosed(const Fl_Window* window) {
    const char* trace = std::getenv("VANTREL_WINDOW_TRACE");
    if (window == nullptr || trace == nullptr || *trace == '\0') return;
    std::FILE* file = std::fopen(trace, "a");
    if (file == nullptr) return;
    std::fprintf(file, "closed %s\n", window->label() != nullptr ? window->label() : "");
    std::fclose(file);
}
}  // namespace

ModalWindows::Scope::Scope(Fl_Window* window, KeyHandler keyHandler) : m_window(window) {
    Stack().push_back({window, std::move(keyHandler)});
}

ModalWindows::Scope::~Scope() {
    auto& stack = Stack();
    auto found = std::find_if(stack.rbegin(), stack.rend(),
                              [this](const Entry& entry) { return entry.window == m_window; });
    if (found != stack.rend()) stack.erase(std::next(found).base());
    TraceClosed(m_window);
}

std::vector<ModalWindows::Entry>& ModalWindows::Stack() {
    static std::vector<Entry> stack;
    return stack;
}

Fl_Window* ModalWindows::Top() { return Stack().empty() ? nullptr : Stack().back().window; }

bool ModalWindows::IsCovered(const Fl_Window* window) {
    const auto& stack = Stack();
    if (window == nullptr || stack.empty() || stack.back().window == window) return false;
    return std::any_of(stack.begin(), stack.end(),
                       [window](const Entry& entry) { return entry.window == window; });
}

DialogWindow* ModalWindows::DialogWindowShowing(const CWnd& window) {
    for (const Entry& entry : Stack()) {
        auto* dialogWindow = dynamic_cast<DialogWindow*>(entry.window);
        if (dialogWindow != nullptr && dialogWindow->Shows(window)) return dialogWindow;
    }
    return nullptr;
}

int ModalWindows::Dispatch(int event, Fl_Window* window) {
    Fl_Window* top = Top();
    // A window below the innermost one takes no input; its keys go to the innermost one. Open
    // menus hold the toolkit's grab and get everything.
    if (Fl::grab() == nullptr && IsCovered(window)) {
        // A click on the window below brings the innermost one back on top of it, also where
        // no window manager keeps it there.
        if (event == FL_PUSH && top != nullptr && top->shown()) top->show();
        if (IsMouseInput(event) || (IsKeyboardInput(event) && top == nullptr)) return 0;
        if (IsKeyboardInput(event)) window = top;
    }
    if (IsKeyboardInput(event) && top != nullptr && window == top) {
        RestoreFocus(*top);
        const KeyHandler& handler = Stack().back().keyHandler;
        if (event == FL_KEYBOARD && handler && handler()) return 1;
    }
    int handled = Fl::handle_(event, window);
    auto* dialogWindow = dynamic_cast<DialogWindow*>(window);
    if (dialogWindow != nullptr && window == Top() && (event == FL_PUSH || event == FL_KEYBOARD))
        dialogWindow->FollowToolkitFocus();
    return handled;
}
