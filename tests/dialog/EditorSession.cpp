#include "EditorSession.h"

#include <dlfcn.h>

#include <sstream>
#include <stdexcept>

#include "platform/Backend.h"
#include "platform/HeadlessBackend.h"
#include "plugin/VantrelExports.h"

const char* const kThreeSegments =
    "ProfileType=1\nConfigureMode=1\nClearBuffer=1\nInsertEndSegment=1\n"
    "SlaveX=0\nSlaveY=1\nSlaveZ=2\n"
    "X_TPOS[mm]=10 20 30\nY_TPOS[mm]=1 2 3\nZ_TPOS[mm]=0 0 0\n"
    "CACC[m/s^2]=1 0 2\nCSPD[m/s]=0.5 0.5 0\nExecute=0\nWaitForCompletion=1\n";

namespace {

EditMotionSequenceFn LoadEditor() {
    static void* module = dlopen(VANTREL_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    if (!module) throw std::runtime_error(dlerror());
    return reinterpret_cast<EditMotionSequenceFn>(dlsym(module, "EditMotionSequence"));
}

}  // namespace

EditorSession::EditorSession() {
    project.AddSlaves(2, TestDrive{});
    TestDrive fine;
    fine.travelPerRev = 2.0;
    project.AddSlave(3, &fine);
    TestDrive open;
    open.closedPosition = false;
    project.AddSlave(4, &open);
}

EditorRun EditorSession::Run(const std::string& element, const std::string& script) {
    std::ostringstream out;
    std::ostringstream messages;
    HeadlessBackend backend(script, "script", out, messages);
    SetActiveBackend(&backend);
    CString text(element);
    EditorRun run;
    run.result = LoadEditor()(project.controller, project.motion, text);
    SetActiveBackend(nullptr);
    run.text = text.str();
    run.error = backend.Error();
    run.messages = messages.str();
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) run.dumps.emplace_back(line);
    return run;
}
