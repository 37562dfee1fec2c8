// Fixture of the layer check: base/ is below every layer.
#include "base/Trim.h"
#include "platform/CWnd.h"
