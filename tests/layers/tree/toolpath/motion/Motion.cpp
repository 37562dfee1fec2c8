// Fixture of the layer check: the motion model stands below the plot.
#include "toolpath/element/ElementPath.h"
#include "toolpath/plot/SvgPlot.h"
