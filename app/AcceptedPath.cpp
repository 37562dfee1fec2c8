#include "app/AcceptedPath.h"

#include "app/AppError.h"
#include "app/FileAccess.h"
#include "host/CString.h"
#include "path/PathError.h"
#include "plugin/VantrelExports.h"

namespace {

// The host's messages end each in CR LF; one line for the user.
std::string OneLine(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    for (char& c : text) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return text;
}

}  // namespace

std::optional<ElementPath> ReadAcceptedPath(const CommonOptions& common,
                                            const std::string& elementFile) {
    const std::string element = ReadInput(elementFile);
    auto project = LoadProject(common);
    auto module = LoadModule(common);
    auto translate = module->Resolve<TranslateMotionSequenceFn>("TranslateMotionSequence");
    CString code;
    if (!translate(project->Controller(), project->Motion(), CString(element), code)) {
        WriteStandardError(RefusalText(code.str(), InputName(elementFile)));
        return std::nullopt;
    }
    try {
        return ReadElementPath(element, project->Controller(), project->Motion());
    } catch (const PathError& error) {
        throw AppError(InputName(elementFile) + ": " + OneLine(error.what()));
    }
}
