// Fixture of the layer check: the viewer stands on the toolpath layer, without a toolkit or
// the application.
#include "app/cli/Cli.h"
#include "platform/CWnd.h"
#include "toolpath/motion/MotionModel.h"
#include "viewer/ViewPath.h"
#include "viewer/fltk/ViewerWindow.h"
