// The demo project and element built into the program, for trying it without files.
#pragma once

#include <string_view>

// Three linear slaves 0, 1, 2 with axis ids 1, 2, 3 on drives X, Y and Z.
std::string_view DemoProjectText();
// The name messages use for the demo project.
inline constexpr const char* kDemoProjectName = "(built-in demo project)";
// A three-axis element of four segments on the demo project.
std::string_view DemoElementText();
