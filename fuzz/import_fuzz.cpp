// Any segment file, imported into a three-axis and a two-axis element and confirmed: the
// segments are taken, or the import and OK refuse them, never a crash or a hang.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "EditorHarness.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    LoadEditor();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& file =
        ImportFile(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string script = "file " + file + "\nclick IDC_IMPORT\nok\n";
    RunEditor(DemoElement(), script);
    RunEditor("ProfileType=0\n" + DemoElement(), script);
    return 0;
}
