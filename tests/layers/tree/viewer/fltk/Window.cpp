// Fixture of the layer check: the viewer's window draws the viewer's picture, not the
// framework's dialogs.
#include "platform/fltk/FltkBackend.h"
#include "viewer/PathRaster.h"
