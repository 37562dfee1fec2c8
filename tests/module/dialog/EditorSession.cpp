#include "EditorSession.h"

#include <utility>

#include "host/CString.h"
#include "module/plugin/VantrelExports.h"
#include "tests/support/BuiltModule.h"

const char* const kThreeSegments =
    "ProfileType=1\nConfigureMode=1\nClearBuffer=1\nInsertEndSegment=1\n"
    "SlaveX=0\nSlaveY=1\nSlaveZ=2\n"
    "X_TPOS[mm]=10 20 30\nY_TPOS[mm]=1 2 3\nZ_TPOS[mm]=0 0 0\n"
    "CACC[m/s^2]=1 0 2\nCSPD[m/s]=0.5 0.5 0\nExecute=0\nWaitForCompletion=1\n";

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
    auto edit = BuiltModule::Get().Export<EditMotionSequenceFn>("EditMotionSequence");
    CString text(element);
    HeadlessRun headless = RunHeadless(
        script, [&] { return INT_PTR{edit(project.controller, project.motion, text)}; }, "script");
    EditorRun run{std::move(headless), text.str(), {}};
    for (const nlohmann::ordered_json& dump : run.Dumps()) run.dumps.emplace_back(dump);
    return run;
}
