// Fixture of the layer check: the framework knows nothing of motion.
#include "host/CString.h"
#include "platform/CWnd.h"
