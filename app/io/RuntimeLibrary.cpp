#include "app/io/RuntimeLibrary.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

#include "app/io/PluginModule.h"

namespace {

// Where the program's own library path points (beside it in the build, the library folder when
// installed), by full name: a bare name is searched on the path of the object that calls dlopen,
// and under the address sanitizer that is the sanitizer's runtime, whose path names neither.
// Otherwise the bare name, for the system's search.
std::string LibraryFile(const char* file) {
    const std::filesystem::path folder = ExecutableFolder();
    if (folder.empty()) return file;
    for (const std::filesystem::path& candidate :
         {folder / file, folder / ".." / VANTREL_LIBRARY_DIR_IN_PREFIX / file}) {
        std::error_code error;
        if (std::filesystem::exists(candidate, error)) return candidate.lexically_normal().string();
    }
    return file;
}

}  // namespace

void* LoadRuntimeLibrary(const char* file, std::string& reason) {
    dlerror();
    void* handle = dlopen(LibraryFile(file).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle != nullptr) return handle;
    const char* why = dlerror();
    reason = why != nullptr ? why : "unknown error";
    return nullptr;
}

void* RuntimeEntry(void* library, const char* name) { return dlsym(library, name); }
