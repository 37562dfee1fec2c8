// Fixture of the layer check: the plot draws the motion, it neither reads G-code nor opens a
// window.
#include "base/Trim.h"
#include "platform/CWnd.h"
#include "toolpath/exchange/GcodeReader.h"
#include "toolpath/motion/MotionModel.h"
#include "viewer/ViewPath.h"
