// Runs the module's editor in-process with the headless back end, as `vantrel edit` does.
#pragma once

#include <string>
#include <vector>

#include "DumpJson.h"
#include "module/dialog/resource.h"
#include "tests/support/HeadlessRun.h"
#include "tests/support/TestProject.h"

struct EditorRun : HeadlessRun {
    std::string text;  // the parameter text afterwards
    std::vector<DialogState> dumps;
};

class EditorSession {
  public:
    // Three linear axes (A, B on 0.0025 mm counts, C on 0.001 mm) and an open-position slave.
    EditorSession();
    EditorRun Run(const std::string& element, const std::string& script);

    TestProject project;
};

// A three-axis element of three segments.
extern const char* const kThreeSegments;
