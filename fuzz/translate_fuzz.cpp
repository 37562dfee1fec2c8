// Any parameter text, read and translated on the demo project: the element is refused or
// translated, never a crash, a hang or a read out of bounds.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "app/project/BuiltinData.h"
#include "app/project/Project.h"
#include "app/project/ProjectFile.h"
#include "host/CString.h"
#include "module/plugin/VantrelExports.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static std::unique_ptr<Project> project = LoadProjectText(DemoProjectText(), kDemoProjectName);
    const CString text(std::string(reinterpret_cast<const char*>(data), size));
    CString code;
    TranslateMotionSequence(project->Controller(), project->Motion(), text, code);
    return 0;
}
