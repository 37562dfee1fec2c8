// Fixture of the layer check: the module never calls the application or a back end.
#include "app/Cli.h"
#include "host/CString.h"
#include "model/CInternalData.h"
#include "platform/HeadlessBackend.h"
