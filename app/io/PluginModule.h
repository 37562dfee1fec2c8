// The loaded Linear Interpolation module and the exports resolved from it.
#pragma once

#include <filesystem>
#include <string>

#include "app/cli/AppError.h"

class PluginModule {
  public:
    // Loads the module file at path; throws AppError naming the file when it cannot.
    explicit PluginModule(std::string path);
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;
    ~PluginModule();

    const std::string& Path() const { return m_path; }

    // The export of that plain name as the function type Fn; throws AppError when missing.
    template <typename Fn>
    Fn Resolve(const char* exportName) const {
        return reinterpret_cast<Fn>(FindExport(exportName));
    }

  private:
    void* FindExport(const char* exportName) const;

    std::string m_path;
    void* m_handle = nullptr;
};

// The folder of the running program; empty when it cannot be known.
std::filesystem::path ExecutableFolder();

// The module to load: explicitPath when given, else the first libVantrel.so found beside the
// executable, in the library folder next to the executable's folder, or in the installed folder.
std::string FindModulePath(const std::string& explicitPath);
