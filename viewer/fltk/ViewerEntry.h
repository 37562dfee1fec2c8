// The viewer window's entry point under a plain name, for a program that loads this library
// only when it opens the window (the toolkit and the X libraries would otherwise cost every
// start of the program).
#pragma once

#include <functional>
#include <string>

#include "viewer/ViewPath.h"

// What the viewer shows and how it reads it again.
struct ViewerSource {
    std::string name;         // the element's name, for the title
    std::string watchedFile;  // re-read when it changes on disk; "" for none
    // Reads the element again; throws std::exception saying why it cannot.
    std::function<ViewPath()> read;
    // What the program does when the display goes away while the window is open.
    void (*onLost)(const std::string& reason) = nullptr;
};

extern "C" {
// Shows path (taken over) in a window until the window is closed: true then; false when no
// display can be opened.
bool VantrelRunViewer(ViewPath* path, const ViewerSource* source);
}

// The entry point's type, for a program that looks it up by name.
using VantrelRunViewerFn = decltype(&VantrelRunViewer);
