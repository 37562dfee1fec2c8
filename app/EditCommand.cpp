#include "app/EditCommand.h"

#include <cstdlib>
#include <iostream>

#include "app/AppError.h"
#include "app/FileAccess.h"
#include "host/CString.h"
#include "platform/ActiveBackendGuard.h"
#include "platform/HeadlessBackend.h"
#include "platform/fltk/FltkBackend.h"
#include "plugin/VantrelExports.h"

namespace {

CString StartingText(const PluginModule& module, Project& project, const EditRequest& request) {
    if (!request.startsNew) return CString(request.element);
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

// The window's display went away while the editor ran: nothing was written, and the window
// cannot go on. The program ends as on any failure (exit 2), so that it does not read as a
// cancel; at once, as the display's library must not be called again on the way out.
[[noreturn]] void EndOnLostDisplay(const std::string& reason) {
    WriteStandardError("vantrel: the window's display failed: " + reason + "\n");
    std::_Exit(2);
}

int SaveIfConfirmed(bool confirmed, const EditRequest& request, const CString& text) {
    if (!confirmed) return 1;
    WriteFileAtomically(request.path, text.str());
    return 0;
}

}  // namespace

int RunScriptedEdit(const PluginModule& module, Project& project, const EditRequest& request) {
    CString text = StartingText(module, project, request);
    HeadlessBackend backend(request.script, request.scriptName, std::cout);
    bool confirmed = RunEditor(module, project, backend, text);
    std::cout.flush();
    if (!std::cout) throw AppError("standard output: cannot write the dumps");
    if (!backend.Error().empty()) throw AppError(backend.Error());
    return SaveIfConfirmed(confirmed, request, text);
}

int RunWindowEdit(const PluginModule& module, Project& project, const EditRequest& request) {
    if (!FltkBackend::OpenDisplay(EndOnLostDisplay)) {
        throw AppError(
            "edit: no display is available (DISPLAY is unset or cannot be opened); "
            "use --script FILE to edit without a window");
    }
    CString text = StartingText(module, project, request);
    FltkBackend backend;
    bool confirmed = RunEditor(module, project, backend, text);
    return SaveIfConfirmed(confirmed, request, text);
}
