// The windows that run modally, innermost last: dialog windows, prompts, and a placeholder
// (null) while the toolkit's own file chooser runs. Input meant for a window below the
// innermost one is held back, as a modal window requires, and the innermost window sees its
// keys before its widgets do.
#pragma once

#include <functional>
#include <vector>

class CWnd;
class DialogWindow;
class Fl_Window;

class ModalWindows {
  public:
    // Handles the current key event for its window; true when it did.
    using KeyHandler = std::function<bool()>;

    // Keeps window on the stack for the guard's life.
    class Scope {
      public:
        explicit Scope(Fl_Window* window, KeyHandler keyHandler = {});
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

      private:
        Fl_Window* m_window;
    };

    // Routes every toolkit event (install with Fl::event_dispatch).
    static int Dispatch(int event, Fl_Window* window);
    // The innermost modal window; null for none or for the file chooser.
    static Fl_Window* Top();
    // True when the window runs modally below another one, so that its input is held back.
    static bool IsCovered(const Fl_Window* window);
    // The running dialog window that shows window (the dialog or one of its controls), or null.
    static DialogWindow* DialogWindowShowing(const CWnd& window);

  private:
    struct Entry {
        Fl_Window* window;
        KeyHandler keyHandler;
    };
    static std::vector<Entry>& Stack();
};
