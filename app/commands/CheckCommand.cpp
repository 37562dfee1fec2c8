#include "app/commands/CheckCommand.h"

#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>

#include "app/io/FileAccess.h"
#include "toolpath/element/ElementProblems.h"

namespace {

using Json = nlohmann::ordered_json;

struct CheckOptions {
    std::string element;
    bool json = false;
};

Json ProblemJson(const ElementProblem& problem) {
    Json json = {{"text", problem.Text()}};
    json["segment"] = problem.segment >= 0 ? Json(problem.segment) : Json(nullptr);
    json["entry"] = problem.entry.empty() ? Json(nullptr) : Json(problem.entry);
    json["value"] = problem.value.empty() ? Json(nullptr) : Json(problem.value);
    json["problem"] = problem.problem;
    return json;
}

// One object: the verdict, the module's messages as it gives them and the problems located
// behind them. Texts that are not UTF-8 are shown with replacement characters.
std::string CheckJson(const Translation& translation, Project& project) {
    Json messages = Json::array();
    Json problems = Json::array();
    std::size_t total = 0;
    if (!translation.accepted) {
        for (const std::string& message : ModuleMessages(translation.text))
            messages.push_back(message);
        const ElementProblems located =
            LocateElementProblems(translation.element, project.Controller(), project.Motion());
        for (const ElementProblem& problem : located.located)
            problems.push_back(ProblemJson(problem));
        total = located.total;
    }
    const Json result = {{"valid", translation.accepted},
                         {"messages", messages},
                         {"problems", problems},
                         {"problem_count", total}};
    return result.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

// The module has no export that only validates: translating reads and validates the element
// completely, so its verdict and messages are the check's, and the program text is dropped.
ExitStatus RunCheck(const CommonOptions& common, const CheckOptions& options) {
    std::string element = ReadInput(options.element);
    auto project = LoadProject(common);
    auto module = LoadModule(common);
    if (!options.json)
        return ModuleAccepts(*module, *project, std::move(element), InputName(options.element))
                   ? ExitStatus::Success
                   : ExitStatus::Refused;
    const Translation translation = TranslateElement(*module, *project, std::move(element));
    WriteStandardOutput(CheckJson(translation, *project));
    return translation.accepted ? ExitStatus::Success : ExitStatus::Refused;
}

}  // namespace

Command AddCheckCommand(CLI::App& app, CommonOptions& common) {
    auto options = std::make_shared<CheckOptions>();
    CLI::App* parser = AddCommand(app, common, "check",
                                  "Read and validate an element: exit 0 when it is valid, else "
                                  "print every problem and exit 1");
    AddElementArgument(*parser, options->element, "Element file, or - for standard input");
    parser->add_flag("--json", options->json,
                     "Print one JSON object: valid, the module's messages and where each problem "
                     "lies");
    return {parser, [&common, options] { return RunCheck(common, *options); }};
}
