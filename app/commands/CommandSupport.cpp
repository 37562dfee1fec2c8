#include "app/commands/CommandSupport.h"

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

#include "app/cli/AppError.h"
#include "app/io/FileAccess.h"
#include "app/project/BuiltinData.h"
#include "app/project/ProjectFile.h"
#include "base/EscapedText.h"
#include "base/numbertext/Parse.h"
#include "host/CString.h"
#include "module/plugin/VantrelExports.h"
#include "toolpath/element/ElementProblems.h"

namespace {

// The edits (insertions, deletions, replacements, swaps of neighbours) that turn a into b.
size_t EditDistance(const std::string& a, const std::string& b) {
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        for (size_t j = 1; j <= b.size(); ++j) {
            size_t replace = d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, replace});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[a.size()][b.size()];
}

// The command a mistyped word most likely meant: the start of a name, or a name a few edits
// away (one edit for every three letters); empty when none is near.
std::string ClosestCommand(const CLI::App& app, const std::string& word) {
    std::string best;
    size_t bestDistance = 0;
    for (const CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; })) {
        const std::string& name = command->get_name();
        size_t distance =
            name.rfind(word, 0) == 0 && word.size() > 1 ? 1 : EditDistance(word, name);
        size_t allowed = std::max<size_t>(1, name.size() / 3);
        if (distance > allowed || (!best.empty() && distance >= bestDistance)) continue;
        best = name;
        bestDistance = distance;
    }
    return best;
}

}  // namespace

CLI::Validator NotEmpty() {
    return CLI::Validator(
        [](std::string& value) { return value.empty() ? std::string("must not be empty") : ""; },
        "", "not empty");
}

CLI::Validator OneOf(std::vector<std::string> names) {
    std::string list;
    for (const std::string& name : names) list += (list.empty() ? "" : ",") + name;
    return CLI::Validator(
        [names, list](std::string& text) {
            if (std::find(names.begin(), names.end(), text) != names.end()) return std::string();
            return Quoted(text) + " is not one of {" + list + "}";
        },
        "{" + list + "}");
}

CLI::Validator WholeNumberIn(long long min, long long max) {
    return CLI::Validator(
        [min, max](std::string& text) {
            long long value = 0;
            if (numbertext::ParseWhole(text, value) == numbertext::ParseResult::Ok &&
                value >= min && value <= max)
                return std::string();
            return Quoted(text) + " is not a whole number from " + std::to_string(min) + " to " +
                   std::to_string(max);
        },
        "", "whole number");
}

void AddElementArgument(CLI::App& command, std::string& element, const char* about) {
    command.add_option("ELEMENT", element, about)->required()->check(NotEmpty());
}

CLI::Option* AddOutputOption(CLI::App& command, std::string& output, const char* about,
                             const char* typeName) {
    return command.add_option("-o,--output", output, about)->type_name(typeName)->check(NotEmpty());
}

void AddCommonOptions(CLI::App& parser, CommonOptions& common) {
    parser
        .add_option("-p,--project", common.project,
                    "Project file (TOML); without it the built-in demo project")
        ->type_name("FILE")
        ->check(NotEmpty());
    parser
        .add_option("--plugin", common.plugin,
                    "Module to load; without it the one beside the program or installed")
        ->type_name("FILE")
        ->check(NotEmpty());
}

CLI::App* AddCommand(CLI::App& app, CommonOptions& common, const char* name, const char* about) {
    CLI::App* command = app.add_subcommand(name, about);
    AddCommonOptions(*command, common);
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

void WriteOutput(const std::string& path, const std::string& bytes) {
    if (path.empty() || path == kStandardStream) {
        WriteStandardOutput(bytes);
        return;
    }
    WriteFileAtomically(path, bytes);
}

void WriteElementOutput(const std::string& path, const std::string& bytes, std::uint64_t limit) {
    if (bytes.size() > limit) {
        const std::string name = path.empty() ? std::string("standard output") : InputName(path);
        throw AppError(name + ": the element would hold " + std::to_string(bytes.size()) +
                       " bytes, more than the " + SizeText(limit) +
                       " an element file may hold; nothing was written");
    }
    WriteOutput(path, bytes);
}

void RefuseOutputOverInput(const CommonOptions& common, const std::string& output,
                           const std::vector<std::string>& inputs) {
    if (output.empty() || output == kStandardStream) return;
    std::vector<std::string> read = inputs;
    read.push_back(common.project);
    read.push_back(common.plugin);
    for (const std::string& input : read) {
        if (input.empty() || input == kStandardStream || !AreSameFile(output, input)) continue;
        throw AppError(output + ": is the same file as the input " + input +
                       "; nothing was written");
    }
}

Translation TranslateElement(const PluginModule& module, Project& project, std::string element) {
    auto translate = module.Resolve<TranslateMotionSequenceFn>("TranslateMotionSequence");
    CString text(std::move(element));
    CString code;
    bool accepted = translate(project.Controller(), project.Motion(), text, code) != 0;
    Translation translation{accepted, std::move(code.str()), {}};
    if (!accepted) translation.element = std::move(text.str());
    return translation;
}

std::string RefusalText(const std::string& messages, const std::string& elementName) {
    if (messages.find_first_not_of(" \t\r\n") == std::string::npos)
        return "vantrel: " + EscapeControls(elementName) + ": the element was refused\n";
    // CR LF, as the module ends its own messages.
    if (messages.back() != '\n') return messages + "\r\n";
    return messages;
}

std::vector<std::string> ModuleMessages(const std::string& messages) {
    std::vector<std::string> split;
    size_t start = 0;
    while (start < messages.size()) {
        size_t end = messages.find("\r\n", start);
        if (end == std::string::npos) end = messages.size();
        if (end > start) split.push_back(messages.substr(start, end - start));
        start = end + 2;
    }
    return split;
}

void ReportRefusal(const Translation& refused, Project& project, const std::string& elementName) {
    std::string report = RefusalText(refused.text, elementName);
    const ElementProblems problems =
        LocateElementProblems(refused.element, project.Controller(), project.Motion());
    const std::string place = "vantrel: " + EscapeControls(elementName) + ": ";
    const size_t shown = std::min(problems.located.size(), kShownProblems);
    for (size_t i = 0; i < shown; ++i) report += place + problems.located[i].Text() + "\n";
    if (problems.total > shown)
        report += place + "and " + std::to_string(problems.total - shown) +
                  " more problems (vantrel check --json lists them)\n";
    WriteStandardError(report);
}

std::string UnknownCommandMessage(const CLI::App& app, const std::string& word) {
    std::string message = "unknown command " + Quoted(word);
    std::string closest = ClosestCommand(app, word);
    if (!closest.empty()) message += "; did you mean \"" + closest + "\"?";
    return message + " (see vantrel --help)";
}

std::string NewElementText(const PluginModule& module, Project& project) {
    auto defaults = module.Resolve<GetDefaultParametersFn>("GetDefaultParameters");
    CString text;
    defaults(project.Controller(), project.Motion(), text);
    return std::move(text.str());
}

bool ModuleAccepts(const PluginModule& module, Project& project, std::string element,
                   const std::string& elementName) {
    const Translation translation = TranslateElement(module, project, std::move(element));
    if (!translation.accepted) ReportRefusal(translation, project, elementName);
    return translation.accepted;
}

bool ElementAccepted(const PluginModule& module, Project& project, std::string& element,
                     const std::string& elementName) {
    CString text(std::move(element));
    const bool accepted = ReadingAccepts(text, project.Controller(), project.Motion());
    element = std::move(text.str());
    if (accepted) return true;
    return ModuleAccepts(module, project, element, elementName);
}

void ReportMessage(const std::string& message) {
    WriteStandardError("vantrel: " + EscapeControls(message) + "\n");
}

void EndOnLostDisplay(const std::string& reason) {
    ReportMessage("the window's display failed: " + reason);
    std::_Exit(2);
}
