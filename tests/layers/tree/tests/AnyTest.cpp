// Fixture of the layer check: tests may reach into any layer.
#include "model/CInternalData.h"
