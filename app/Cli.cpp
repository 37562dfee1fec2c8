#include "app/Cli.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <string>

#include "app/AppError.h"
#include "app/BuiltinData.h"
#include "app/EditCommand.h"
#include "app/FileAccess.h"
#include "app/PluginModule.h"
#include "app/ProjectFile.h"
#include "host/CString.h"
#include "plugin/VantrelExports.h"

namespace {

struct Options {
    std::string project;
    std::string plugin;
    std::string element;
    std::string output;
    std::string script;
};

const char* const kStandardStream = "-";

std::unique_ptr<Project> LoadProject(const Options& options) {
    if (options.project.empty()) return LoadProjectText(DemoProjectText(), kDemoProjectName);
    return LoadProjectFile(options.project);
}

std::unique_ptr<PluginModule> LoadModule(const Options& options) {
    return std::make_unique<PluginModule>(FindModulePath(options.plugin));
}

std::string ReadElement(const std::string& element) {
    if (element == kStandardStream) return ReadStandardInput();
    return ReadWholeFile(element);
}

// The module's messages go out as the module wrote them (CR LF between them), so that scripts
// can split them exactly; only a refusal without any text gets a line of its own.
std::string AsErrorText(const std::string& text, const std::string& elementName) {
    if (text.find_first_not_of(" \t\r\n") == std::string::npos)
        return "vantrel: " + elementName + ": the element was refused\n";
    return text;
}

int Translate(const PluginModule& module, Project& project, const std::string& element,
              const std::string& elementName) {
    auto translate = module.Resolve<TranslateMotionSequenceFn>("TranslateMotionSequence");
    CString text(element);
    CString code;
    if (translate(project.Controller(), project.Motion(), text, code)) {
        WriteStandardOutput(code.str());
        return 0;
    }
    WriteStandardError(AsErrorText(code.str(), elementName));
    return 1;
}

int RunInfo(const Options& options) {
    if (!options.project.empty()) LoadProject(options);
    auto module = LoadModule(options);
    auto className = module->Resolve<GetClassNameFn>("GetClassName");
    auto name = module->Resolve<GetNameFn>("GetName");
    auto orderId = module->Resolve<GetOrderIDFn>("GetOrderID");
    WriteStandardOutput(std::string("class: ") + className() + "\nname: " + name() +
                        "\norder id: " + std::to_string(orderId()) + "\n");
    return 0;
}

int RunEnabled(const Options& options) {
    auto project = LoadProject(options);
    auto module = LoadModule(options);
    auto isEnabled = module->Resolve<IsEnabledFn>("IsEnabled");
    WriteStandardOutput(isEnabled(&project->Controller()) ? "1\n" : "0\n");
    return 0;
}

int RunNew(const Options& options) {
    auto project = LoadProject(options);
    auto module = LoadModule(options);
    auto defaults = module->Resolve<GetDefaultParametersFn>("GetDefaultParameters");
    CString text;
    defaults(project->Controller(), project->Motion(), text);
    if (options.output.empty() || options.output == kStandardStream)
        WriteStandardOutput(text.str());
    else
        WriteFileAtomically(options.output, text.str());
    return 0;
}

int RunTranslate(const Options& options) {
    std::string element = ReadElement(options.element);
    auto project = LoadProject(options);
    auto module = LoadModule(options);
    std::string name = options.element == kStandardStream ? "standard input" : options.element;
    return Translate(*module, *project, element, name);
}

int RunDemo(const Options& options) {
    auto project = LoadProject(options);
    auto module = LoadModule(options);
    return Translate(*module, *project, std::string(DemoElementText()), "demo element");
}

int RunEdit(const Options& options) {
    if (options.element == kStandardStream)
        throw AppError("edit: ELEMENT must be a file: the edited element is written back to it");
    bool inWindow = options.script.empty();
    std::string script = inWindow ? std::string() : ReadElement(options.script);
    std::string scriptName = options.script == kStandardStream ? "standard input" : options.script;
    bool missing = PathIsMissing(options.element);
    std::string element = missing ? std::string() : ReadWholeFile(options.element);
    auto project = LoadProject(options);
    auto module = LoadModule(options);
    EditRequest request{options.element, missing, element, script, scriptName};
    if (inWindow) return RunWindowEdit(*module, *project, request);
    return RunScriptedEdit(*module, *project, request);
}

CLI::Validator NotEmpty() {
    return CLI::Validator(
        [](std::string& value) { return value.empty() ? std::string("must not be empty") : ""; },
        "", "not empty");
}

void AddCommonOptions(CLI::App& command, Options& options) {
    command
        .add_option("-p,--project", options.project,
                    "Project file (TOML); without it the built-in demo project")
        ->type_name("FILE")
        ->check(NotEmpty());
    command
        .add_option("--plugin", options.plugin,
                    "Module to load; without it the one beside the program or installed")
        ->type_name("FILE")
        ->check(NotEmpty());
}

CLI::App* AddCommand(CLI::App& app, Options& options, const char* name, const char* about) {
    CLI::App* command = app.add_subcommand(name, about);
    AddCommonOptions(*command, options);
    return command;
}

void AddElementArgument(CLI::App& command, Options& options, const char* about) {
    command.add_option("ELEMENT", options.element, about)->required()->check(NotEmpty());
}

struct Commands {
    CLI::App* info;
    CLI::App* enabled;
    CLI::App* create;
    CLI::App* translate;
    CLI::App* edit;
    CLI::App* demo;
};

Commands AddCommands(CLI::App& app, Options& options) {
    Commands commands{};
    commands.info = AddCommand(app, options, "info", "Print the module's class, name and order id");
    commands.enabled = AddCommand(app, options, "enabled",
                                  "Print 1 when the module can be used with the project's "
                                  "controller, else 0");
    commands.create = AddCommand(app, options, "new", "Print the text of a new element");
    commands.create->add_option("-o,--output", options.output, "Write it to FILE instead")
        ->type_name("FILE")
        ->check(NotEmpty());
    commands.translate = AddCommand(app, options, "translate",
                                    "Print the program text of an element (CR LF line ends)");
    AddElementArgument(*commands.translate, options, "Element file, or - for standard input");
    commands.edit = AddCommand(app, options, "edit", "Edit an element file in the editor");
    AddElementArgument(*commands.edit, options,
                       "Element file; a missing one starts from a new element");
    commands.edit
        ->add_option("--script", options.script,
                     "Run the editor headless on this script (- for standard input); "
                     "without it the editor opens in a window")
        ->type_name("FILE")
        ->check(NotEmpty());
    commands.demo =
        AddCommand(app, options, "demo", "Print the program text of the built-in demo element");
    return commands;
}

int RunCommand(const Commands& commands, const Options& options) {
    if (commands.info->parsed()) return RunInfo(options);
    if (commands.enabled->parsed()) return RunEnabled(options);
    if (commands.create->parsed()) return RunNew(options);
    if (commands.translate->parsed()) return RunTranslate(options);
    if (commands.edit->parsed()) return RunEdit(options);
    return RunDemo(options);
}

bool IsCommand(const CLI::App& app, const std::string& name) {
    for (const CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; })) {
        if (command->check_name(name)) return true;
    }
    return false;
}

int ReportParseError(const CLI::App& app, const CLI::ParseError& error) {
    if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) return app.exit(error);
    WriteStandardError(std::string("vantrel: ") + error.what() + " (see vantrel --help)\n");
    return 2;
}

}  // namespace

int RunVantrel(int argc, char** argv) {
    CLI::App app("Runs the Linear Interpolation motion module on a project.", "vantrel");
    app.require_subcommand(1);
    app.set_version_flag("--version", VANTREL_VERSION);
    Options options;
    Commands commands = AddCommands(app, options);
    // CLI11 would only say that a command is required; name the word it did not know.
    if (argc > 1 && argv[1][0] != '-' && !IsCommand(app, argv[1])) {
        WriteStandardError(std::string("vantrel: unknown command \"") + argv[1] +
                           "\" (see vantrel --help)\n");
        return 2;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return ReportParseError(app, error);
    }
    try {
        return RunCommand(commands, options);
    } catch (const AppError& error) {
        WriteStandardError(std::string("vantrel: ") + error.what() + "\n");
    } catch (const std::exception& error) {
        WriteStandardError(std::string("vantrel: unexpected failure: ") + error.what() + "\n");
    }
    return 2;
}
