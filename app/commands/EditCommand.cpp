#include "app/commands/EditCommand.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <utility>

#include "app/cli/AppError.h"
#include "app/commands/CommandSupport.h"
#include "app/io/FileAccess.h"
#include "app/io/WindowBackend.h"
#include "host/CString.h"
#include "module/plugin/VantrelExports.h"
#include "platform/ActiveBackendGuard.h"
#include "platform/AfxMessageBox.h"
#include "platform/CFileDialog.h"
#include "platform/HeadlessBackend.h"

namespace {

constexpr const char* kElementFilter = "Element Files (*.element)|*.element|All Files (*)|*||";

CString StartingText(const PluginModule& module, Project& project, EditRequest& request) {
    if (!request.startsNew) return CString(std::move(request.element));
    return CString(NewElementText(module, project));
}

// Runs the module's editor with backend; the edited text, when the user confirmed, is in text.
bool RunEditor(const PluginModule& module, Project& project, Backend& backend, CString& text) {
    auto edit = module.Resolve<EditMotionSequenceFn>("EditMotionSequence");
    ActiveBackendGuard active(backend);
    return edit(project.Controller(), project.Motion(), text) != 0;
}

// Writes the confirmed text over the element, unless someone changed the file since it was
// read: then the text is not written there, so neither side's work is lost.
void SaveElement(const EditRequest& request, const std::string& text) {
    const bool changed = request.startsNew ? !PathIsMissing(request.path)
                                           : !FileHolds(request.path, request.readContent);
    if (changed) {
        throw AppError(request.path +
                       ": changed on disk while the editor was open; not overwritten");
    }
    WriteFileAtomically(request.path, text);
}

// Keeps text that could not be saved and ends with a message naming the failure and the copy.
[[noreturn]] void KeepAndReport(const EditRequest& request, const std::string& text,
                                const AppError& failure) {
    std::string kept;
    try {
        kept = KeepRecoveryCopy(request.path, text);
    } catch (const AppError& lost) {
        throw AppError(std::string(failure.what()) + "; " + lost.what());
    }
    throw AppError(std::string(failure.what()) + "; the edited element is kept in " + kept);
}

// Says why the element could not be saved and offers to save it in another file, until it is
// saved or the user declines; the file it was saved in, or none.
std::optional<std::string> SaveElsewhere(const EditRequest& request, const std::string& text,
                                         std::string problem) {
    for (;;) {
        std::string question = problem + "\n\nSave the element in another file?";
        if (AfxMessageBox(question.c_str(), MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
            return std::nullopt;
        std::string name = std::filesystem::path(request.path).filename().string();
        CFileDialog chooser(FALSE, nullptr, name.c_str(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                            kElementFilter);
        if (chooser.DoModal() != IDOK) return std::nullopt;
        try {
            WriteFileAtomically(chooser.GetPathName(), text);
            return chooser.GetPathName();
        } catch (const AppError& failure) {
            problem = failure.what();
        }
    }
}

}  // namespace

// A confirmed edit is saved (or kept) before a failure of the dumps is reported: standard
// output closed by its reader or a full disk must not cost the user the edit.
ExitStatus RunScriptedEdit(const PluginModule& module, Project& project, EditRequest request) {
    CString text = StartingText(module, project, request);
    HeadlessBackend backend(request.script, request.scriptName, std::cout);
    bool confirmed = RunEditor(module, project, backend, text);
    std::cout.flush();
    const std::string dumpsLost = std::cout ? "" : "standard output: cannot write the dumps";
    if (!backend.Error().empty()) throw AppError(backend.Error());
    if (confirmed) {
        try {
            SaveElement(request, text.str());
        } catch (const AppError& failure) {
            const std::string lost = dumpsLost.empty() ? "" : dumpsLost + "; ";
            KeepAndReport(request, text.str(), AppError(lost + failure.what()));
        }
    }
    if (!dumpsLost.empty())
        throw AppError(dumpsLost + (confirmed ? "; the edited element was saved" : ""));
    return confirmed ? ExitStatus::Success : ExitStatus::Refused;
}

ExitStatus RunWindowEdit(const PluginModule& module, Project& project, EditRequest request) {
    const std::string name = std::filesystem::path(request.path).filename().string();
    WindowBackend window = OpenWindowBackend(EndOnLostDisplay, name, "segments");
    if (!window) {
        throw AppError(
            "edit: no display is available (DISPLAY is unset or cannot be opened); "
            "use --script FILE to edit without a window");
    }
    Backend& backend = *window;
    CString text = StartingText(module, project, request);
    bool confirmed = RunEditor(module, project, backend, text);
    if (!confirmed) return ExitStatus::Refused;
    try {
        SaveElement(request, text.str());
        return ExitStatus::Success;
    } catch (const AppError& failure) {
        ActiveBackendGuard active(backend);
        std::optional<std::string> savedIn = SaveElsewhere(request, text.str(), failure.what());
        if (!savedIn) KeepAndReport(request, text.str(), failure);
        ReportMessage(std::string(failure.what()) + "; the edited element was saved in " +
                      *savedIn);
        return ExitStatus::Success;
    }
}
