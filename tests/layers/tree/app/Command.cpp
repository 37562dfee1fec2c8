// Fixture of the layer check: the application reaches the module only through its exports.
#include "Local.h"
#include "app/cli/Cli.h"
#include "module/model/CInternalData.h"
#include "module/plugin/CVantrelApp.h"
#include "module/plugin/VantrelExports.h"
#include "platform/fltk/FltkBackend.h"
#include "toolpath/plot/SvgPlot.h"
