// Runs the module's editor in-process with the headless back end, as `vantrel edit` does.
#pragma once

#include <string>
#include <vector>

#include "DumpJson.h"
#include "host/CString.h"
#include "tests/model/TestProject.h"

struct EditorRun {
    int result = 0;        // what EditMotionSequence returned
    std::string text;      // the parameter text afterwards
    std::string error;     // the script's error, if a line failed
    std::string messages;  // the message boxes as the headless back end writes them, one a line
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
