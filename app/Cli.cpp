#include "app/Cli.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/AppError.h"
#include "app/BuiltinData.h"
#include "app/CommandSupport.h"
#include "app/EditCommand.h"
#include "app/FileAccess.h"
#include "host/CString.h"
#include "plugin/VantrelExports.h"

namespace {

// The module's messages go out as the module wrote them (CR LF between them), so that scripts
// can split them exactly; only a refusal without any text gets a line of its own.
std::string AsErrorText(const std::string& text, const std::string& elementName) {
    if (text.find_first_not_of(" \t\r\n") == std::string::npos)
        return "vantrel: " + elementName + ": the element was refused\n";
    return text;
}

int Translate(const PluginModule& module, Project& project, std::string element,
              const std::string& elementName) {
    auto translate = module.Resolve<TranslateMotionSequenceFn>("TranslateMotionSequence");
    CString text(std::move(element));
    CString code;
    if (translate(project.Controller(), project.Motion(), text, code)) {
        WriteStandardOutput(code.str());
        return 0;
    }
    WriteStandardError(AsErrorText(code.str(), elementName));
    return 1;
}

int RunInfo(const CommonOptions& common) {
    if (!common.project.empty()) LoadProject(common);
    auto module = LoadModule(common);
    auto className = module->Resolve<GetClassNameFn>("GetClassName");
    auto name = module->Resolve<GetNameFn>("GetName");
    auto orderId = module->Resolve<GetOrderIDFn>("GetOrderID");
    WriteStandardOutput(std::string("class: ") + className() + "\nname: " + name() +
                        "\norder id: " + std::to_string(orderId()) + "\n");
    return 0;
}

int RunEnabled(const CommonOptions& common) {
    auto project = LoadProject(common);
    auto module = LoadModule(common);
    auto isEnabled = module->Resolve<IsEnabledFn>("IsEnabled");
    WriteStandardOutput(isEnabled(&project->Controller()) ? "1\n" : "0\n");
    return 0;
}

int RunNew(const CommonOptions& common, const std::string& output) {
    auto project = LoadProject(common);
    auto module = LoadModule(common);
    auto defaults = module->Resolve<GetDefaultParametersFn>("GetDefaultParameters");
    CString text;
    defaults(project->Controller(), project->Motion(), text);
    if (output.empty() || output == kStandardStream)
        WriteStandardOutput(text.str());
    else
        WriteFileAtomically(output, text.str());
    return 0;
}

int RunTranslate(const CommonOptions& common, const std::string& elementPath) {
    std::string element = ReadInput(elementPath);
    auto project = LoadProject(common);
    auto module = LoadModule(common);
    return Translate(*module, *project, std::move(element), InputName(elementPath));
}

int RunDemo(const CommonOptions& common) {
    auto project = LoadProject(common);
    auto module = LoadModule(common);
    return Translate(*module, *project, std::string(DemoElementText()), "demo element");
}

struct EditOptions {
    std::string element;
    std::string script;
};

int RunEdit(const CommonOptions& common, const EditOptions& options) {
    if (options.element == kStandardStream)
        throw AppError("edit: ELEMENT must be a file: the edited element is written back to it");
    bool inWindow = options.script.empty();
    std::string script = inWindow ? std::string() : ReadInput(options.script);
    bool missing = PathIsMissing(options.element);
    std::string element = missing ? std::string() : ReadWholeFile(options.element);
    auto project = LoadProject(common);
    auto module = LoadModule(common);
    EditRequest request{options.element, missing, std::move(element), std::move(script),
                        InputName(options.script)};
    if (inWindow) return RunWindowEdit(*module, *project, std::move(request));
    return RunScriptedEdit(*module, *project, std::move(request));
}

void AddElementArgument(CLI::App& command, std::string& element, const char* about) {
    command.add_option("ELEMENT", element, about)->required()->check(NotEmpty());
}

Command AddInfoCommand(CLI::App& app, CommonOptions& common) {
    CLI::App* parser =
        AddCommand(app, common, "info", "Print the module's class, name and order id");
    return {parser, [&common] { return RunInfo(common); }};
}

Command AddEnabledCommand(CLI::App& app, CommonOptions& common) {
    CLI::App* parser = AddCommand(app, common, "enabled",
                                  "Print 1 when the module can be used with the project's "
                                  "controller, else 0");
    return {parser, [&common] { return RunEnabled(common); }};
}

Command AddNewCommand(CLI::App& app, CommonOptions& common) {
    auto output = std::make_shared<std::string>();
    CLI::App* parser = AddCommand(app, common, "new", "Print the text of a new element");
    parser->add_option("-o,--output", *output, "Write it to FILE instead")
        ->type_name("FILE")
        ->check(NotEmpty());
    return {parser, [&common, output] { return RunNew(common, *output); }};
}

Command AddTranslateCommand(CLI::App& app, CommonOptions& common) {
    auto element = std::make_shared<std::string>();
    CLI::App* parser = AddCommand(app, common, "translate",
                                  "Print the program text of an element (CR LF line ends)");
    AddElementArgument(*parser, *element, "Element file, or - for standard input");
    return {parser, [&common, element] { return RunTranslate(common, *element); }};
}

Command AddEditCommand(CLI::App& app, CommonOptions& common) {
    auto options = std::make_shared<EditOptions>();
    CLI::App* parser = AddCommand(app, common, "edit", "Edit an element file in the editor");
    AddElementArgument(*parser, options->element,
                       "Element file; a missing one starts from a new element");
    parser
        ->add_option("--script", options->script,
                     "Run the editor headless on this script (- for standard input); "
                     "without it the editor opens in a window")
        ->type_name("FILE")
        ->check(NotEmpty());
    return {parser, [&common, options] { return RunEdit(common, *options); }};
}

Command AddDemoCommand(CLI::App& app, CommonOptions& common) {
    CLI::App* parser =
        AddCommand(app, common, "demo", "Print the program text of the built-in demo element");
    return {parser, [&common] { return RunDemo(common); }};
}

// Every sub-command, in the order --help lists them. A command of its own file declares its
// Add...Command in that file's header.
std::vector<Command> AddCommands(CLI::App& app, CommonOptions& common) {
    return {
        AddInfoCommand(app, common), AddEnabledCommand(app, common),
        AddNewCommand(app, common),  AddTranslateCommand(app, common),
        AddEditCommand(app, common), AddDemoCommand(app, common),
    };
}

int RunParsedCommand(const std::vector<Command>& commands) {
    for (const Command& command : commands) {
        if (command.parser->parsed()) return command.run();
    }
    throw AppError("no command was given (see vantrel --help)");
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
    CommonOptions common;
    std::vector<Command> commands = AddCommands(app, common);
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
        return RunParsedCommand(commands);
    } catch (const AppError& error) {
        WriteStandardError(std::string("vantrel: ") + error.what() + "\n");
    } catch (const std::exception& error) {
        WriteStandardError(std::string("vantrel: unexpected failure: ") + error.what() + "\n");
    }
    return 2;
}
