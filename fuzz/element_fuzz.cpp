// Any parameter text, opened in the editor and confirmed: the dialog shows what could be read,
// OK writes it or refuses it, never a crash, a hang or a read out of bounds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "EditorHarness.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    LoadEditor();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RunEditor(std::string(reinterpret_cast<const char*>(data), size), "ok\n");
    return 0;
}
