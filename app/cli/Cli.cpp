#include "app/cli/Cli.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/cli/AppError.h"
#include "app/commands/CheckCommand.h"
#include "app/commands/CommandSupport.h"
#include "app/commands/EditCommand.h"
#include "app/commands/ExportCommand.h"
#include "app/commands/HelpCommand.h"
#include "app/commands/ImportCommand.h"
#include "app/commands/PlotCommand.h"
#include "app/commands/SimplifyCommand.h"
#include "app/commands/StatsCommand.h"
#include "app/commands/ViewCommand.h"
#include "app/io/FileAccess.h"
#include "app/project/BuiltinData.h"
#include "base/EscapedText.h"
#include "host/CString.h"
#include "module/plugin/VantrelExports.h"
#include "toolpath/element/PathError.h"

namespace {

// The program text on standard output or into output; a refusal's messages on standard error.
ExitStatus Translate(const PluginModule& module, Project& project, std::string element,
                     const std::string& elementName, const std::string& output = {}) {
    Translation translation = TranslateElement(module, project, std::move(element));
    if (!translation.accepted) {
        ReportRefusal(translation, project, elementName);
        return ExitStatus::Refused;
    }
    WriteOutput(output, translation.text);
    return ExitStatus::Success;
}

ExitStatus RunInfo(const CommonOptions& common) {
    if (!common.project.empty()) LoadProject(common);
    auto module = LoadModule(common);
    auto className = module->Resolve<GetClassNameFn>("GetClassName");
    auto name = module->Resolve<GetNameFn>("GetName");
    auto orderId = module->Resolve<GetOrderIDFn>("GetOrderID");
    WriteStandardOutput(std::string("class: ") + className() + "\nname: " + name() +
                        "\norder id: " + std::to_string(orderId()) + "\n");
    return ExitStatus::Success;
}

ExitStatus RunEnabled(const CommonOptions& common) {
    auto project = LoadProject(common);
    auto module = LoadModule(common);
    auto isEnabled = module->Resolve<IsEnabledFn>("IsEnabled");
    WriteStandardOutput(isEnabled(&project->Controller()) ? "1\n" : "0\n");
    return ExitStatus::Success;
}

ExitStatus RunNew(const CommonOptions& common, const std::string& output) {
    RefuseOutputOverInput(common, output);
    auto project = LoadProject(common);
    auto module = LoadModule(common);
    WriteOutput(output, NewElementText(*module, *project));
    return ExitStatus::Success;
}

struct TranslateOptions {
    std::string element;
    std::string output;
};

ExitStatus RunTranslate(const CommonOptions& common, const TranslateOptions& options) {
    RefuseOutputOverInput(common, options.output, {options.element});
    std::string element = ReadInput(options.element);
    auto project = LoadProject(common);
    auto module = LoadModule(common);
    return Translate(*module, *project, std::move(element), InputName(options.element),
                     options.output);
}

ExitStatus RunDemo(const CommonOptions& common) {
    auto project = LoadProject(common);
    auto module = LoadModule(common);
    return Translate(*module, *project, std::string(DemoElementText()), "demo element");
}

struct EditOptions {
    std::string element;
    std::string script;
};

ExitStatus RunEdit(const CommonOptions& common, const EditOptions& options) {
    if (options.element == kStandardStream)
        throw AppError("edit: ELEMENT must be a file: the edited element is written back to it");
    RefuseOutputOverInput(common, options.element, {options.script});
    bool inWindow = options.script.empty();
    std::string script = inWindow ? std::string() : ReadInput(options.script);
    bool missing = PathIsMissing(options.element);
    std::string element = missing ? std::string() : ReadWholeFile(options.element);
    auto project = LoadProject(common);
    auto module = LoadModule(common);
    const ContentId readContent = ContentIdOf(element);
    EditRequest request{options.element, missing,           std::move(element),
                        readContent,     std::move(script), InputName(options.script)};
    if (inWindow) return RunWindowEdit(*module, *project, std::move(request));
    return RunScriptedEdit(*module, *project, std::move(request));
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
    AddOutputOption(*parser, *output, "Write it to FILE instead");
    return {parser, [&common, output] { return RunNew(common, *output); }};
}

Command AddTranslateCommand(CLI::App& app, CommonOptions& common) {
    auto options = std::make_shared<TranslateOptions>();
    CLI::App* parser = AddCommand(app, common, "translate",
                                  "Print the program text of an element (CR LF line ends)");
    AddElementArgument(*parser, options->element, "Element file, or - for standard input");
    AddOutputOption(*parser, options->output,
                    "Write the program to FILE instead (replaced whole, and only when the "
                    "element is accepted)");
    return {parser, [&common, options] { return RunTranslate(common, *options); }};
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
        AddInfoCommand(app, common),     AddEnabledCommand(app, common),
        AddNewCommand(app, common),      AddTranslateCommand(app, common),
        AddCheckCommand(app, common),    AddEditCommand(app, common),
        AddDemoCommand(app, common),     AddStatsCommand(app, common),
        AddPlotCommand(app, common),     AddImportCommand(app, common),
        AddExportCommand(app, common),   AddViewCommand(app, common),
        AddSimplifyCommand(app, common), AddHelpCommand(app, common),
    };
}

const Command* ParsedCommand(const std::vector<Command>& commands) {
    for (const Command& command : commands) {
        if (command.parser->parsed()) return &command;
    }
    return nullptr;
}

// The parser keeps the words it does not know; the first of them is the problem to report.
void RefuseLeftOverWords(const CLI::App& app, const Command* command) {
    const std::vector<std::string> left = app.remaining(true);
    if (left.empty()) return;
    const std::string& word = left.front();
    if (command == nullptr && word[0] != '-') throw AppError(UnknownCommandMessage(app, word));
    std::string help = command ? "vantrel help " + command->parser->get_name() : "vantrel --help";
    throw AppError("unexpected argument " + Quoted(word) + " (see " + help + ")");
}

// Output that CLI11 printed (help, version) must have arrived: a failed write is an error.
ExitStatus CheckedStandardOutput() {
    errno = 0;
    std::cout.flush();
    if (std::cout) return ExitStatus::Success;
    ReportMessage(std::string("standard output: cannot write") +
                  (errno != 0 ? std::string(": ") + std::strerror(errno) : std::string()));
    return ExitStatus::Failure;
}

}  // namespace

ExitStatus RunVantrel(int argc, char** argv) {
    CLI::App app("Runs the Linear Interpolation motion module on a project.", "vantrel");
    app.require_subcommand(1);
    // Unknown words are kept rather than refused by the parser, so that a mistyped command can
    // be named with the command it most likely meant.
    app.allow_extras();
    app.set_version_flag("--version", std::string("vantrel ") + VANTREL_VERSION);
    CommonOptions common;
    AddCommonOptions(app, common);
    std::vector<Command> commands = AddCommands(app, common);
    // Set after the commands were added, which would inherit it.
    app.footer(
        "The common options may also follow the command. "
        "\"vantrel help COMMAND\" shows the options of a command.");
    try {
        try {
            app.parse(argc, argv);
        } catch (const CLI::ParseError& error) {
            if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) {
                app.exit(error);
                return CheckedStandardOutput();
            }
            // A word the parser did not know says more than that a command is missing.
            RefuseLeftOverWords(app, ParsedCommand(commands));
            throw AppError(std::string(error.what()) + " (see vantrel --help)");
        }
        const Command* command = ParsedCommand(commands);
        RefuseLeftOverWords(app, command);
        return command->run();
    } catch (const AppError& error) {
        ReportMessage(error.what());
    } catch (const PathError& error) {
        // A file the path commands read or write refused, with its name and line; a reader that
        // goes on past a refusal names each of them.
        for (const std::string& message : error.Messages()) ReportMessage(message);
    } catch (const std::exception& error) {
        ReportMessage(std::string("unexpected failure: ") + error.what());
    }
    return ExitStatus::Failure;
}
