// The built module loaded into the test program, as the host application loads it: with dlopen,
// its exports resolved by their plain names.
#pragma once

class BuiltModule {
  public:
    // The module, loaded on the first call and kept loaded while the tests run, as the
    // application keeps it while it runs; throws std::runtime_error when it cannot be loaded.
    static const BuiltModule& Get();

    BuiltModule(const BuiltModule&) = delete;
    BuiltModule& operator=(const BuiltModule&) = delete;

    // The symbol of that name, or nullptr when the module does not export it.
    void* Symbol(const char* name) const;
    // The export of that name as the function type Fn; throws std::runtime_error when missing.
    template <typename Fn>
    Fn Export(const char* name) const {
        return reinterpret_cast<Fn>(RequiredSymbol(name));
    }

  private:
    explicit BuiltModule(void* handle) : m_handle(handle) {}
    void* RequiredSymbol(const char* name) const;

    void* m_handle;
};
