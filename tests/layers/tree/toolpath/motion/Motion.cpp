// Fixture of the layer check: the motion model stands below the plot and needs no host.
#include "host/CMC_Value.h"
#include "toolpath/element/ElementPath.h"
#include "toolpath/plot/SvgPlot.h"
