// Fixture of the layer check: the application reaches the module only through its exports.
#include "Local.h"
#include "app/Cli.h"
#include "model/CInternalData.h"
#include "path/Path.h"
#include "platform/fltk/FltkBackend.h"
#include "plugin/CVantrelApp.h"
#include "plugin/VantrelExports.h"
