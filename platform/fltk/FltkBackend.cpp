#include "platform/fltk/FltkBackend.h"

#include <FL/Fl.H>
#include <FL/x.H>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "platform/CDialog.h"
#include "platform/fltk/DialogWindow.h"
#include "platform/fltk/ModalWindows.h"
#include "platform/fltk/Prompts.h"

namespace {

FltkBackend::DisplayLostHandler displayLost = nullptr;

// The toolkit calls this when the display goes away mid-run. The application's handler decides
// how the program ends. Should it return after all, nothing could go on, and the toolkit would
// end the program with a status that reads as a cancel; so this ends it abnormally instead.
[[noreturn]] void ReportDisplayLost(const char* format, ...) {
    char reason[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(reason, sizeof reason, format, args);
    va_end(args);
    if (displayLost != nullptr) displayLost(reason);
    std::abort();
}

// Xlib calls this when the connection to the display breaks, and ends the program itself when
// it returns.
int ConnectionLost(Display* display) {
    ReportDisplayLost("lost the connection to display %s", DisplayString(display));
}

}  // namespace

FltkBackend::FltkBackend() {
    Fl::scheme("gtk+");
    // The layout's base units assume Helvetica's widths; font configuration maps these names
    // to metric-compatible faces.
    Fl::set_font(FL_HELVETICA, "Helvetica");
    Fl::set_font(FL_COURIER, "Courier");
    Fl::event_dispatch(ModalWindows::Dispatch);
}

FltkBackend::~FltkBackend() { Fl::event_dispatch(nullptr); }

bool FltkBackend::OpenDisplay(DisplayLostHandler onLost) {
    displayLost = onLost;
    Fl::fatal = ReportDisplayLost;
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') return false;
    // The toolkit ends the program when it cannot open the display, so it gets an open one.
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return false;
    // The toolkit installs its handler of a broken connection only when it opens the display
    // itself.
    XSetIOErrorHandler(ConnectionLost);
    fl_open_display(display);
    return true;
}

void FltkBackend::NameDocument(std::string name, std::string rowNoun) {
    m_document = {std::move(name), std::move(rowNoun)};
}

INT_PTR FltkBackend::RunModal(CDialog& dialog) {
    DialogWindow window(dialog, m_document);
    // The window leaves the modal stack also when the dialog's code throws.
    ModalWindows::Scope modal(&window, [&window] { return window.HandleDialogKey(); });
    dialog.RunInitDialog();
    window.MirrorAll();
    if (!dialog.IsModalEnded()) window.ShowCentred();
    while (!dialog.IsModalEnded() && !window.Failed()) Fl::wait();
    window.RethrowFailure();
    return dialog.GetModalResult();
}

void FltkBackend::WindowChanged(CWnd& window, WindowChange change) {
    if (DialogWindow* shown = ModalWindows::DialogWindowShowing(window))
        shown->Mirror(window, change);
}

int FltkBackend::MessageBox(const std::string& text, UINT type) {
    return ShowMessageBox(text, type);
}

std::optional<std::string> FltkBackend::ChooseFile(const FileDialogRequest& request) {
    return ShowFileChooser(request);
}

int FltkBackend::ChooseItem(const std::string& title, const std::vector<std::string>& items,
                            int current) {
    return ShowItemChoice(title, items, current);
}

bool FltkBackend::AskInteger(const std::string& title, const std::string& prompt, int& value,
                             int min, int max) {
    return ShowIntegerPrompt(title, prompt, value, min, max);
}
