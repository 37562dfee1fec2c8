// Fixture of the layer check: path/ stands on the host library only.
#include "host/CString.h"
#include "path/Path.h"
#include "platform/CWnd.h"
