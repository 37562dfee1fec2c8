// Any project file text: loaded, or refused with a message, never a crash.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/cli/AppError.h"
#include "app/project/ProjectFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        LoadProjectText(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz");
    } catch (const AppError&) {
    }
    return 0;
}
