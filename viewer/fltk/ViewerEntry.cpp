#include "viewer/fltk/ViewerEntry.h"

#include <FL/Fl.H>
#include <FL/x.H>

#include <cstdlib>
#include <utility>

#include "viewer/fltk/ViewerWindow.h"

namespace {

void (*displayLost)(const std::string& reason) = nullptr;

int ConnectionLost(Display*) {
    if (displayLost != nullptr) displayLost("the connection to the X server was lost");
    std::_Exit(2);
}

void ToolkitFailed(const char* format, ...) {
    if (displayLost != nullptr) displayLost(format != nullptr ? format : "the toolkit failed");
    std::_Exit(2);
}

// The toolkit ends the program when it cannot open the display, so it gets an open one.
bool OpenDisplay(void (*onLost)(const std::string&)) {
    displayLost = onLost;
    Fl::fatal = ToolkitFailed;
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') return false;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return false;
    XSetIOErrorHandler(ConnectionLost);
    fl_open_display(display);
    return true;
}

}  // namespace

bool VantrelRunViewer(ViewPath* path, const ViewerSource* source) {
    if (!OpenDisplay(source->onLost)) return false;
    ViewerWindow window(std::move(*path), *source);
    window.show();
    while (window.shown()) Fl::wait();
    return true;
}
