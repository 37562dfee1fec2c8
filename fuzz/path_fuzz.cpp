// Any project and element, through the commands that report, draw and export a path: stats,
// plot (as SVG and as PNG) and export run as `vantrel` runs them, and each writes its output or
// refuses with a message, never a crash, a hang or undefined behaviour.
//
// The input is a project file, a line "%%", the element, and optionally another line "%%" and
// a line of options: "json", "profile", "gcode", "absolute", "speed=S" and "accel=A" (the values
// of --speed and --accel), "size=WxH" and "view=V" (of the plots' --size and --view). Without a
// "%%" the whole input is the element, on the demo project.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/cli/Cli.h"
#include "app/io/PluginModule.h"

namespace {

constexpr std::string_view kSeparator = "\n%%\n";

// Files of one fuzzing process: the inputs it writes and the outputs the commands write.
struct Workspace {
    Workspace() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vantrel-path-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) abort();
        folder = pattern;
    }
    ~Workspace() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    std::string File(const char* name) const { return (folder / name).string(); }

    std::filesystem::path folder;
};

const Workspace& TheWorkspace() {
    static const Workspace workspace;
    return workspace;
}

// Held open for the fuzzer's life, so that each command's load of the module is only counted.
const PluginModule& TheModule() {
    static const PluginModule module{VANTREL_MODULE_PATH};
    return module;
}

void WriteFile(const std::string& path, std::string_view content) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(content.data(), static_cast<std::streamsize>(content.size()));
}

struct Options {
    bool json = false;
    bool profile = false;
    bool gcode = false;
    bool absolute = false;
    std::vector<std::string> dynamics;  // --speed S, --accel A as given
    std::vector<std::string> picture;   // --size WxH, --view V as given, for both plots
};

Options ReadOptions(std::string_view line) {
    Options options;
    std::istringstream words{std::string(line)};
    for (std::string word; words >> word;) {
        if (word == "json") options.json = true;
        if (word == "profile") options.profile = true;
        if (word == "gcode") options.gcode = true;
        if (word == "absolute") options.absolute = true;
        for (const char* name : {"size", "view"}) {
            const std::string prefix = std::string(name) + "=";
            if (word.rfind(prefix, 0) == 0)
                options.picture.insert(options.picture.end(),
                                       {"--" + std::string(name), word.substr(prefix.size())});
        }
        for (const char* name : {"speed", "accel"}) {
            const std::string prefix = std::string(name) + "=";
            if (word.rfind(prefix, 0) == 0)
                options.dynamics.insert(options.dynamics.end(),
                                        {"--" + std::string(name), word.substr(prefix.size())});
        }
    }
    return options;
}

void Run(std::vector<std::string> words, bool withProject) {
    const Workspace& workspace = TheWorkspace();
    words.insert(words.begin(), "vantrel");
    words.insert(words.end(), {"--plugin", VANTREL_MODULE_PATH});
    if (withProject) words.insert(words.end(), {"-p", workspace.File("project.toml")});
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    RunVantrel(static_cast<int>(words.size()), argv.data());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    TheWorkspace();
    TheModule();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Workspace& workspace = TheWorkspace();
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t first = input.find(kSeparator);
    const bool withProject = first != std::string_view::npos;
    std::string_view element = input;
    Options options;
    if (withProject) {
        WriteFile(workspace.File("project.toml"), input.substr(0, first));
        element = input.substr(first + kSeparator.size());
        const std::size_t second = element.find(kSeparator);
        if (second != std::string_view::npos) {
            options = ReadOptions(element.substr(second + kSeparator.size()));
            element = element.substr(0, second);
        }
    }
    const std::string elementFile = workspace.File("input.element");
    WriteFile(elementFile, element);

    std::vector<std::string> stats{"stats", elementFile, "--segments"};
    if (options.json) stats.push_back("--json");
    std::vector<std::string> plot{"plot", elementFile, "-o", workspace.File("plot.svg")};
    if (options.profile) plot.push_back("--profile");
    plot.insert(plot.end(), options.picture.begin(), options.picture.end());
    std::vector<std::string> png = plot;
    png[3] = workspace.File("plot.png");
    std::vector<std::string> exported{"export",   elementFile,
                                      "-o",       workspace.File("export.out"),
                                      "--format", options.gcode ? "gcode" : "csv"};
    if (options.absolute) exported.push_back("--absolute");
    for (std::vector<std::string>* command : {&stats, &plot, &png}) {
        command->insert(command->end(), options.dynamics.begin(), options.dynamics.end());
        Run(*command, withProject);
    }
    Run(exported, withProject);
    return 0;
}
