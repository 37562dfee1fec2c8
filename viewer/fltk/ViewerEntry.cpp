#include "viewer/fltk/ViewerEntry.h"

#include <FL/Fl.H>

#include <utility>

#include "platform/fltk/FltkDisplay.h"
#include "viewer/fltk/ViewerWindow.h"

bool VantrelRunViewer(ViewPath* path, const ViewerSource* source) {
    if (!OpenToolkitDisplay(source->onLost)) return false;
    ViewerWindow window(std::move(*path), *source);
    window.show();
    while (window.shown()) Fl::wait();
    return true;
}
