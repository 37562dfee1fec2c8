#include "platform/fltk/FltkDisplay.h"

#include <FL/Fl.H>
#include <FL/x.H>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace {

DisplayLostHandler displayLost = nullptr;

// The toolkit calls this when the display goes away mid-run. The program's handler decides how
// the program ends. Should it return after all, nothing could go on, and the toolkit would end
// the program with a status that reads as a cancel; so this ends it abnormally instead.
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

bool OpenToolkitDisplay(DisplayLostHandler onLost) {
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
