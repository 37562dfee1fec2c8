#include "EditorHarness.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "app/io/PluginModule.h"
#include "app/project/BuiltinData.h"
#include "app/project/Project.h"
#include "app/project/ProjectFile.h"
#include "host/CString.h"
#include "module/plugin/VantrelExports.h"
#include "platform/ActiveBackendGuard.h"
#include "platform/HeadlessBackend.h"

namespace {

struct Editor {
    std::unique_ptr<Project> project = LoadProjectText(DemoProjectText(), kDemoProjectName);
    PluginModule module{VANTREL_MODULE_PATH};
    EditMotionSequenceFn edit = module.Resolve<EditMotionSequenceFn>("EditMotionSequence");
};

Editor& TheEditor() {
    static Editor editor;
    return editor;
}

}  // namespace

void LoadEditor() { TheEditor(); }

void RunEditor(const std::string& element, const std::string& script) {
    Editor& editor = TheEditor();
    std::ostringstream dumps;
    std::ostringstream messages;
    HeadlessBackend backend(script, "fuzz", dumps, messages);
    ActiveBackendGuard active(backend);
    CString text(element);
    editor.edit(editor.project->Controller(), editor.project->Motion(), text);
}

const std::string& ImportFile(std::string_view content) {
    static const std::string path = (std::filesystem::temp_directory_path() /
                                     ("vantrel-fuzz-import-" + std::to_string(getpid()) + ".txt"))
                                        .string();
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(content.data(), static_cast<std::streamsize>(content.size()));
    return path;
}

std::string DemoElement() { return std::string(DemoElementText()); }
