#include "app/commands/CheckCommand.h"

#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "app/commands/LimitSupport.h"
#include "app/commands/PathCommandSupport.h"
#include "app/io/FileAccess.h"
#include "host/CString.h"
#include "toolpath/element/ElementProblems.h"
#include "toolpath/motion/LimitCheck.h"

namespace {

using Json = nlohmann::ordered_json;

struct CheckOptions {
    std::string element;
    bool json = false;
    bool limits = false;
    std::vector<double> from;  // in the drives' position units
    DynamicsOptions before;
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
Json CheckJson(const Translation& translation, Project& project) {
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
    return {{"valid", translation.accepted},
            {"messages", messages},
            {"problems", problems},
            {"problem_count", total}};
}

std::string JsonLine(const Json& json) {
    return json.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

Json FindingJson(const ElementPath& path, const LimitFinding& finding) {
    Json entry = {{"segment", finding.segment}, {"kind", LimitKindName(finding.kind)}};
    entry["axis"] =
        finding.axis < 0 ? Json(nullptr) : Json(std::string(1, AxisLetter(finding.axis)));
    entry["value"] = FindingInColumnUnit(path, finding, finding.value);
    entry["limit"] = FindingInColumnUnit(path, finding, finding.limit);
    entry["unit"] = FindingUnit(path, finding);
    if (finding.kind == LimitKind::ShortSegment) {
        entry["speed"] = path.scales.speed.ColumnOfBase(finding.speed);
        entry["speed_unit"] = path.columnUnits.speed;
    }
    return entry;
}

Json LimitsJson(const ElementPath& path, const PathLimits& limits, const LimitReport& report) {
    Json findings = Json::array();
    for (const LimitFinding& finding : report.findings)
        findings.push_back(FindingJson(path, finding));
    return {{"speed_and_acceleration_checked", report.dynamicsUnchecked.empty()},
            {"not_checked",
             report.dynamicsUnchecked.empty() ? Json(nullptr) : Json(report.dynamicsUnchecked)},
            {"travel_checked", report.travelChecked},
            {"min_segment_time_s", limits.minSegmentTime},
            {"count", report.findings.size()},
            {"findings", std::move(findings)}};
}

std::string LimitsText(const ElementPath& path, const LimitReport& report) {
    std::string text;
    for (const LimitFinding& finding : report.findings)
        text += DescribeFinding(path, finding) + "\n";
    if (!report.dynamicsUnchecked.empty())
        text += "axis speeds and accelerations not checked: " + report.dynamicsUnchecked + "\n";
    text += report.findings.empty()
                ? std::string("limits: nothing over its limit\n")
                : "limits: " + std::to_string(report.findings.size()) + " over their limits\n";
    return text;
}

// Only an element the module accepts is held against the drives' limits; a refused one is
// reported as without --limits.
ExitStatus RunLimitCheck(const CheckOptions& options, const Translation& translation,
                         Project& project, const ElementPath& path) {
    const PathLimits limits = LimitsOfProject(project, path, options.from);
    const LimitReport report =
        CheckLimits(path, MotionModelOf(path, DynamicsOf(options.before, path)), limits);
    if (options.json) {
        Json json = CheckJson(translation, project);
        json["limits"] = LimitsJson(path, limits, report);
        WriteStandardOutput(JsonLine(json));
    } else {
        WriteStandardOutput(LimitsText(path, report));
    }
    return report.findings.empty() ? ExitStatus::Success : ExitStatus::Refused;
}

// An element the one reading refuses goes to the module, whose verdict and messages are the
// check's: it has no export that only validates, but translating reads and validates the
// element completely, and the program text is dropped. With --limits a refusal shows the
// module's messages alone.
ExitStatus CheckWithModule(const CheckOptions& options, const PluginModule& module,
                           Project& project, const std::string& element) {
    const std::string name = InputName(options.element);
    const Translation translation = TranslateElement(module, project, element);
    if (translation.accepted && options.limits)
        return RunLimitCheck(
            options, translation, project,
            ReadElementPath(element, name, project.Controller(), project.Motion()));
    if (options.json) {
        WriteStandardOutput(JsonLine(CheckJson(translation, project)));
    } else if (!translation.accepted) {
        if (options.limits)
            WriteStandardError(RefusalText(translation.text, name));
        else
            ReportRefusal(translation, project, name);
    }
    return translation.accepted ? ExitStatus::Success : ExitStatus::Refused;
}

// The element is read and validated once, as the module does; the module is asked only about
// one that reading refuses, for its own messages.
ExitStatus RunCheck(const CommonOptions& common, const CheckOptions& options) {
    std::string element = ReadInput(options.element);
    auto project = LoadProject(common);
    auto module = LoadModule(common);
    const std::optional<ElementPath> path =
        ReadAcceptedElement(CString(element), project->Controller(), project->Motion());
    if (!path) return CheckWithModule(options, *module, *project, element);
    const Translation accepted{true, {}, {}};
    if (options.limits) return RunLimitCheck(options, accepted, *project, *path);
    if (options.json) WriteStandardOutput(JsonLine(CheckJson(accepted, *project)));
    return ExitStatus::Success;
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
    CLI::Option* limits = parser->add_flag(
        "--limits", options->limits,
        "Also hold the path against the project's drive limits: exit 1 when it asks more");
    AddStartOption(*parser, options->from)->needs(limits);
    AddDynamicsOptions(*parser, options->before);
    return {parser, [&common, options] { return RunCheck(common, *options); }};
}
