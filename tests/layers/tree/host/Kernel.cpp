// Fixture of the layer check: the host library uses the framework, not a back end or the module.
#include "module/model/CInternalData.h"
#include "platform/CDialog.h"
#include "platform/fltk/FltkBackend.h"
