// Fixture of the layer check: the module never calls the application or a back end.
#include "app/cli/Cli.h"
#include "host/CString.h"
#include "module/model/CInternalData.h"
#include "platform/HeadlessBackend.h"
