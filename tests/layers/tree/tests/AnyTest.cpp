// Fixture of the layer check: tests may reach into any layer.
#include "module/model/CInternalData.h"
