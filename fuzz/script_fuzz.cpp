// Any edit script, with a segment file for its first import: carried out line by line or
// stopped at a line it cannot carry out, never a crash or a hang. The input is the script, then
// optionally a line "%%" and the segment file.
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
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t separator = input.find("\n%%\n");
    const std::string_view script = input.substr(0, separator);
    const std::string_view segments =
        separator == std::string_view::npos ? std::string_view() : input.substr(separator + 4);
    // The first open-file dialog is answered with the segment file.
    RunEditor(DemoElement(), "file " + ImportFile(segments) + "\n" + std::string(script));
    return 0;
}
