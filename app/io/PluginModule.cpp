#include "app/io/PluginModule.h"

#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>
#include <utility>
#include <vector>

namespace {

constexpr const char* kModuleFile = "libVantrel.so";

bool Exists(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

std::vector<std::filesystem::path> ModuleCandidates() {
    std::vector<std::filesystem::path> candidates;
    std::filesystem::path exeFolder = ExecutableFolder();
    if (!exeFolder.empty()) {
        candidates.push_back(exeFolder / kModuleFile);
        candidates.push_back(exeFolder / ".." / VANTREL_MODULE_DIR_IN_PREFIX / kModuleFile);
    }
    candidates.push_back(std::filesystem::path(VANTREL_MODULE_DIR_INSTALLED) / kModuleFile);
    return candidates;
}

// dlopen searches the library path for a bare file name; a file the user named is meant as a path.
std::string AsPath(const std::string& file) {
    if (file.find('/') != std::string::npos) return file;
    return "./" + file;
}

}  // namespace

std::filesystem::path ExecutableFolder() {
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return exe.parent_path();
}

PluginModule::PluginModule(std::string path) : m_path(std::move(path)) {
    dlerror();
    m_handle = dlopen(AsPath(m_path).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (m_handle != nullptr) return;
    const char* reason = dlerror();
    throw AppError(m_path + ": cannot load the module: " + (reason ? reason : "unknown error"));
}

PluginModule::~PluginModule() { dlclose(m_handle); }

void* PluginModule::FindExport(const char* exportName) const {
    dlerror();
    void* symbol = dlsym(m_handle, exportName);
    if (symbol != nullptr) return symbol;
    throw AppError(m_path + ": the module has no export " + exportName);
}

std::string FindModulePath(const std::string& explicitPath) {
    if (!explicitPath.empty()) return explicitPath;
    std::vector<std::filesystem::path> candidates = ModuleCandidates();
    for (const auto& candidate : candidates) {
        if (Exists(candidate)) return candidate.lexically_normal().string();
    }
    std::string tried;
    for (const auto& candidate : candidates) {
        tried += (tried.empty() ? "" : ", ") + candidate.lexically_normal().string();
    }
    throw AppError(std::string("cannot find the module ") + kModuleFile + " (looked for " + tried +
                   "; name one with --plugin FILE)");
}
