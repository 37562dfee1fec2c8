#include "tests/support/BuiltModule.h"

#include <dlfcn.h>

#include <stdexcept>
#include <string>

#include "tests/support/BuiltFiles.h"

const BuiltModule& BuiltModule::Get() {
    // Loaded once and never closed: every test of the program shares the one load.
    static const BuiltModule* const module = [] {
        void* handle = dlopen(BuiltModulePath().c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) throw std::runtime_error(dlerror());
        return new BuiltModule(handle);
    }();
    return *module;
}

void* BuiltModule::Symbol(const char* name) const { return dlsym(m_handle, name); }

void* BuiltModule::RequiredSymbol(const char* name) const {
    void* symbol = Symbol(name);
    if (!symbol) throw std::runtime_error("the module has no export " + std::string(name));
    return symbol;
}
