// The viewer's window, loaded when `vantrel view` opens it, so that the program's other
// commands start without the toolkit and the X libraries.
#pragma once

#include "viewer/ViewPath.h"
#include "viewer/fltk/ViewerEntry.h"

// Shows path in the viewer's window until it is closed. Throws AppError when there is no
// display or the viewer cannot be loaded.
void RunViewerWindow(ViewPath path, const ViewerSource& source);
