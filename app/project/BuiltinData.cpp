#include "app/project/BuiltinData.h"

namespace {

constexpr std::string_view kDemoProject =
    R"(# Three linear axes: X and Y on 5 mm spindles, Z on a 2 mm spindle.
[controller]
motion_controller = true
variables = ["CACC", "CSPD", "TPOS"]

[[slave]]
axis_id = 1
drive = "x"

[[slave]]
axis_id = 2
drive = "y"

[[slave]]
axis_id = 3
drive = "z"

[drive.x]
closed_position = true
position_unit = "mm"
counts_per_rev = 2000
travel_per_rev = 5.0
sample_time = 0.001

[drive.y]
closed_position = true
position_unit = "mm"
counts_per_rev = 2000
travel_per_rev = 5.0
sample_time = 0.001

[drive.z]
closed_position = true
position_unit = "mm"
counts_per_rev = 2000
travel_per_rev = 2.0
sample_time = 0.001
)";

constexpr std::string_view kDemoElement =
    "ProfileType=1\n"
    "ConfigureMode=1\n"
    "ClearBuffer=1\n"
    "InsertEndSegment=1\n"
    "SlaveX=0\n"
    "SlaveY=1\n"
    "SlaveZ=2\n"
    "X_TPOS[mm]=10 0 -10 0\n"
    "Y_TPOS[mm]=0 10 0 -10\n"
    "Z_TPOS[mm]=2 0 -2 0\n"
    "CACC[m/s^2]=0.5 0 1 0\n"
    "CSPD[m/s]=0.05 0.1 0 0.05\n"
    "Execute=0\n"
    "WaitForCompletion=1\n";

}  // namespace

std::string_view DemoProjectText() { return kDemoProject; }

std::string_view DemoElementText() { return kDemoElement; }
