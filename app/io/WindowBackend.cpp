#include "app/io/WindowBackend.h"

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/cli/AppError.h"
#include "app/io/PluginModule.h"
#include "platform/fltk/WindowBackendEntry.h"

namespace {

// Where the program's own library path points (beside it in the build, the library folder when
// installed), by full name: a bare name is searched on the path of the object that calls dlopen,
// and under the address sanitizer that is the sanitizer's runtime, whose path names neither.
// Otherwise the bare name, for the system's search.
std::string WindowLibraryFile() {
    const std::filesystem::path folder = ExecutableFolder();
    if (folder.empty()) return VANTREL_WINDOW_LIBRARY;
    for (const std::filesystem::path& candidate :
         {folder / VANTREL_WINDOW_LIBRARY,
          folder / ".." / VANTREL_LIBRARY_DIR_IN_PREFIX / VANTREL_WINDOW_LIBRARY}) {
        std::error_code error;
        if (std::filesystem::exists(candidate, error)) return candidate.lexically_normal().string();
    }
    return VANTREL_WINDOW_LIBRARY;
}

// Found by its versioned file name. Never closed: the toolkit keeps its state until the end.
void* LoadLibrary() {
    static void* handle = nullptr;
    if (handle != nullptr) return handle;
    if (*VANTREL_WINDOW_LIBRARY == '\0') {
        throw AppError(
            "edit: this build of vantrel has no window back end; use --script FILE to edit "
            "without a window");
    }
    dlerror();
    handle = dlopen(WindowLibraryFile().c_str(), RTLD_NOW | RTLD_LOCAL);
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
