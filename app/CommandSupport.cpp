#include "app/CommandSupport.h"

#include "app/BuiltinData.h"
#include "app/FileAccess.h"
#include "app/ProjectFile.h"
#include "platform/EscapedText.h"

CLI::Validator NotEmpty() {
    return CLI::Validator(
        [](std::string& value) { return value.empty() ? std::string("must not be empty") : ""; },
        "", "not empty");
}

CLI::App* AddCommand(CLI::App& app, CommonOptions& common, const char* name, const char* about) {
    CLI::App* command = app.add_subcommand(name, about);
    command
        ->add_option("-p,--project", common.project,
                     "Project file (TOML); without it the built-in demo project")
        ->type_name("FILE")
        ->check(NotEmpty());
    command
        ->add_option("--plugin", common.plugin,
                     "Module to load; without it the one beside the program or installed")
        ->type_name("FILE")
        ->check(NotEmpty());
    return command;
}

std::unique_ptr<Project> LoadProject(const CommonOptions& common) {
    if (common.project.empty()) return LoadProjectText(DemoProjectText(), kDemoProjectName);
    return LoadProjectFile(common.project);
}

std::unique_ptr<PluginModule> LoadModule(const CommonOptions& common) {
    return std::make_unique<PluginModule>(FindModulePath(common.plugin));
}

std::string ReadInput(const std::string& path) {
    if (path == kStandardStream) return ReadStandardInput();
    return ReadWholeFile(path);
}

std::string InputName(const std::string& path) {
    return path == kStandardStream ? "standard input" : path;
}

void ReportMessage(const std::string& message) {
    WriteStandardError("vantrel: " + EscapeControls(message) + "\n");
}
