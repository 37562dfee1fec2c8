#include "app/io/ViewerLibrary.h"

#include <cstdlib>
#include <string>
#include <utility>

#include "app/cli/AppError.h"
#include "app/io/RuntimeLibrary.h"

namespace {

constexpr const char* kNoDisplay =
    "view: no display is available (DISPLAY is unset or cannot be opened)";

VantrelRunViewerFn LoadViewer() {
    if (*VANTREL_VIEWER_LIBRARY == '\0')
        throw AppError("view: this build of vantrel has no windows; use plot or stats instead");
    std::string reason;
    void* library = LoadRuntimeLibrary(VANTREL_VIEWER_LIBRARY, reason);
    if (library == nullptr) throw AppError("view: the viewer cannot be loaded (" + reason + ")");
    void* entry = RuntimeEntry(library, "VantrelRunViewer");
    if (entry == nullptr) {
        throw AppError(std::string("view: the viewer ") + VANTREL_VIEWER_LIBRARY +
                       " has no entry VantrelRunViewer");
    }
    return reinterpret_cast<VantrelRunViewerFn>(entry);
}

}  // namespace

void RunViewerWindow(ViewPath path, const ViewerSource& source) {
    // Without a display there is nothing to load the toolkit for.
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') throw AppError(kNoDisplay);
    const VantrelRunViewerFn run = LoadViewer();
    if (!run(&path, &source)) throw AppError(kNoDisplay);
}
