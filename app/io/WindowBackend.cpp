#include "app/io/WindowBackend.h"

#include <cstdlib>

#include "app/cli/AppError.h"
#include "app/io/RuntimeLibrary.h"
#include "platform/fltk/WindowBackendEntry.h"

namespace {

void* LoadLibrary() {
    if (*VANTREL_WINDOW_LIBRARY == '\0') {
        throw AppError(
            "edit: this build of vantrel has no window back end; use --script FILE to edit "
            "without a window");
    }
    std::string reason;
    if (void* handle = LoadRuntimeLibrary(VANTREL_WINDOW_LIBRARY, reason)) return handle;
    throw AppError("edit: the window back end cannot be loaded (" + reason +
                   "); use --script FILE to edit without a window");
}

template <typename Fn>
Fn Resolve(void* library, const char* name) {
    void* symbol = RuntimeEntry(library, name);
    if (symbol == nullptr) {
        throw AppError(std::string("edit: the window back end ") + VANTREL_WINDOW_LIBRARY +
                       " has no entry " + name);
    }
    return reinterpret_cast<Fn>(symbol);
}

void DestroyNothing(Backend*) {}

}  // namespace

WindowBackend OpenWindowBackend(void (*onLost)(const std::string& reason),
                                const std::string& documentName, const char* rowNoun) {
    // Without a display there is nothing to load the toolkit for, and a machine without it
    // hears that there is no display rather than that a library is missing.
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') return WindowBackend(nullptr, DestroyNothing);
    void* library = LoadLibrary();
    const auto open = Resolve<VantrelOpenWindowDisplayFn>(library, "VantrelOpenWindowDisplay");
    const auto create =
        Resolve<VantrelCreateWindowBackendFn>(library, "VantrelCreateWindowBackend");
    const auto destroy =
        Resolve<VantrelDestroyWindowBackendFn>(library, "VantrelDestroyWindowBackend");
    const auto name = Resolve<VantrelNameWindowDocumentFn>(library, "VantrelNameWindowDocument");
    if (!open(onLost)) return WindowBackend(nullptr, DestroyNothing);
    WindowBackend backend(create(), destroy);
    name(backend.get(), documentName.c_str(), rowNoun);
    return backend;
}
