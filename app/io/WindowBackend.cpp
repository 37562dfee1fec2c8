#include "app/io/WindowBackend.h"

#include <dlfcn.h>

#include <cstdlib>

#include "app/cli/AppError.h"
#include "platform/fltk/WindowBackendEntry.h"

namespace {

// Found by its versioned file name on the program's library path (beside it in the build, in
// the library folder when installed). Never closed: the toolkit keeps its state until the end.
void* LoadLibrary() {
    static void* handle = nullptr;
    if (handle != nullptr) return handle;
    if (*VANTREL_WINDOW_LIBRARY == '\0') {
        throw AppError(
            "edit: this build of vantrel has no window back end; use --script FILE to edit "
            "without a window");
    }
    dlerror();
    handle = dlopen(VANTREL_WINDOW_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (handle != nullptr) return handle;
    const char* reason = dlerror();
    throw AppError(std::string("edit: the window back end cannot be loaded (") +
                   (reason ? reason : "unknown error") +
                   "); use --script FILE to edit without a window");
}

template <typename Fn>
Fn Resolve(void* library, const char* name) {
    void* symbol = dlsym(library, name);
    if (symbol == nullptr) {
        throw AppError(std::string("edit: the window back end ") + VANTREL_WINDOW_LIBRARY +
                       " has no entry " + name);
    }
    return reinterpret_cast<Fn>(symbol);
}

void DestroyNothing(Backend*) {}

}  // namespace

WindowBackend OpenWindowBackend(void (*onLost)(const std::string& reason)) {
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
    if (!open(onLost)) return WindowBackend(nullptr, DestroyNothing);
    return WindowBackend(create(), destroy);
}
