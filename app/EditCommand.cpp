#include "app/EditCommand.h"

#include <iostream>
#include <utility>

#include "app/AppError.h"
#include "app/FileAccess.h"
#include "host/CString.h"
#include "platform/Backend.h"
#include "platform/HeadlessBackend.h"
#include "platform/fltk/FltkBackend.h"
#include "plugin/VantrelExports.h"

namespace {

// Makes a back end the active one for the life of the guard.
class ActiveBackendGuard {
  public:
    explicit ActiveBackendGuard(Backend& backend) { SetActiveBackend(&backend); }
    ActiveBackendGuard(const ActiveBackendGuard&) = delete;
    ActiveBackendGuard& operator=(const ActiveBackendGuard&) = delete;
    ~ActiveBackendGuard() { SetActiveBackend(nullptr); }
};

CString StartingText(const PluginModule& module, Project& project, EditRequest& request) {
    if (!request.startsNew) return CString(std::move(request.element));
    auto defaults = module.Resolve<GetDefaultParametersFn>("GetDefaultParameters");
    CString text;
    defaults(project.Controller(), project.Motion(), text);
    return text;
}

// Runs the module's editor with backend; the edited text, when the user confirmed, is in text.
bool RunEditor(const PluginModule& module, Project& project, Backend& backend, CString& text) {
    auto edit = module.Resolve<EditMotionSequenceFn>("EditMotionSequence");
    ActiveBackendGuard active(backend);
    return edit(project.Controller(), project.Motion(), text) != 0;
}

int SaveIfConfirmed(bool confirmed, const EditRequest& request, const CString& text) {
    if (!confirmed) return 1;
    WriteFileAtomically(request.path, text.str());
    return 0;
}

}  // namespace

int RunScriptedEdit(const PluginModule& module, Project& project, EditRequest request) {
    CString text = StartingText(module, project, request);
    HeadlessBackend backend(request.script, request.scriptName, std::cout);
    bool confirmed = RunEditor(module, project, backend, text);
    std::cout.flush();
    if (!std::cout) throw AppError("standard output: cannot write the dumps");
    if (!backend.Error().empty()) throw AppError(backend.Error());
    return SaveIfConfirmed(confirmed, request, text);
}

int RunWindowEdit(const PluginModule& module, Project& project, EditRequest request) {
    if (!FltkBackend::OpenDisplay()) {
        throw AppError(
            "edit: no display is available (DISPLAY is unset or cannot be opened); "
            "use --script FILE to edit without a window");
    }
    CString text = StartingText(module, project, request);
    FltkBackend backend;
    bool confirmed = RunEditor(module, project, backend, text);
    return SaveIfConfirmed(confirmed, request, text);
}
