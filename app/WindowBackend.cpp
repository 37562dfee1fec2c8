#include "app/WindowBackend.h"

#include <dlfcn.h>

#include "app/AppError.h"
#include "platform/fltk/WindowBackendEntry.h"

namespace {

// Found by its plain name on the program's library path (beside it in the build, in the
// library folder when installed). Never closed: the toolkit keeps its state until the end.
void* LoadLibrary() {
    static void* handle = nullptr;
    if (handle != nullptr) return handle;
    dlerror();
    handle = dlopen(VANTREL_WINDOW_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (handle != nullptr) return handle;
    const char* reason = dlerror();
    throw AppError(std::string("edit: the window back end cannot be loaded (") +
                   (reason ? reason : "unknown error") +
                   "); use --script FILE to edit without a window");
}

template <typename Fn>
Fn Resolve(void* library, const char* name, Fn) {
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
    void* library = LoadLibrary();
    const auto open = Resolve(library, "VantrelOpenWindowDisplay", &VantrelOpenWindowDisplay);
    const auto create = Resolve(library, "VantrelCreateWindowBackend", &VantrelCreateWindowBackend);
    const auto destroy =
        Resolve(library, "VantrelDestroyWindowBackend", &VantrelDestroyWindowBackend);
    if (!open(onLost)) return WindowBackend(nullptr, DestroyNothing);
    return WindowBackend(create(), destroy);
}
