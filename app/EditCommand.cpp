#include "EditCommand.h"

#include <iostream>

#include "AppError.h"
#include "Backend.h"
#include "CString.h"
#include "FileAccess.h"
#include "HeadlessBackend.h"
#include "VantrelExports.h"

namespace {

// Makes a back end the active one for the life of the guard.
class ActiveBackendGuard {
  public:
    explicit ActiveBackendGuard(Backend& backend) { SetActiveBackend(&backend); }
    ActiveBackendGuard(const ActiveBackendGuard&) = delete;
    ActiveBackendGuard& operator=(const ActiveBackendGuard&) = delete;
    ~ActiveBackendGuard() { SetActiveBackend(nullptr); }
};

CString StartingText(const PluginModule& module, Project& project, const EditRequest& request) {
    if (!request.startsNew) return CString(request.element);
    auto defaults = module.Resolve<GetDefaultParametersFn>("GetDefaultParameters");
    CString text;
    defaults(project.Controller(), project.Motion(), text);
    return text;
}

}  // namespace

int RunScriptedEdit(const PluginModule& module, Project& project, const EditRequest& request) {
    auto edit = module.Resolve<EditMotionSequenceFn>("EditMotionSequence");
    CString text = StartingText(module, project, request);
    HeadlessBackend backend(request.script, request.scriptName, std::cout);
    int confirmed = 0;
    {
        ActiveBackendGuard active(backend);
        confirmed = edit(project.Controller(), project.Motion(), text);
    }
    std::cout.flush();
    if (!std::cout) throw AppError("standard output: cannot write the dumps");
    if (!backend.Error().empty()) throw AppError(backend.Error());
    if (!confirmed) return 1;
    WriteFileAtomically(request.path, text.str());
    return 0;
}
