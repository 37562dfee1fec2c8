#include "app/commands/SimplifyCommand.h"

#include <memory>
#include <optional>
#include <string>

#include "app/cli/AppError.h"
#include "app/commands/PathCommandSupport.h"
#include "app/commands/QuantityOption.h"
#include "base/numbertext/Layout.h"
#include "toolpath/element/ElementWriter.h"
#include "toolpath/element/PathSimplifier.h"
#include "toolpath/motion/PathStats.h"

namespace {

struct SimplifyOptions {
    std::string element;
    std::string output;
    std::string tolerance;
};

constexpr int kShownDigits = 6;

std::string Number(double value) {
    return numbertext::Significant(value == 0.0 ? 0.0 : value, kShownDigits).Str();
}

// The tolerance in counts: a bare number is in the X column's unit, one with a unit is
// converted through the element's base unit.
double ToleranceInCounts(const ElementPath& path, const std::string& text) {
    const Quantity tolerance = ParseQuantity(text, "--tolerance", "0.01mm");
    const InternalScale& scale = path.scales.position[0];
    if (tolerance.unit.empty()) return scale.FromColumn(tolerance.value);
    if (path.unitKind == UnitKind::None)
        throw AppError(
            "--tolerance: the element's axes share no unit; give the tolerance in "
            "counts, without a unit");
    return Converted(path.units, tolerance, path.scales.baseLengthUnit, "--tolerance") /
           scale.basePerInternal;
}

std::string DurationText(const ElementPath& path) {
    const std::optional<MotionModel> model = MotionModelOf(path, {});
    if (!model || !model->Estimable()) return "not estimable";
    return Number(model->Summarize().duration) + " s";
}

std::string Summary(const ElementPath& before, const ElementPath& after, double deviation,
                    double tolerance) {
    const InternalScale& scale = before.scales.position[0];
    const std::string unit = PositionUnitName(before, 0);
    return "segments: " + std::to_string(before.segments.size()) + " -> " +
           std::to_string(after.segments.size()) + "\n" +
           "largest deviation: " + Number(scale.ToColumn(deviation)) + " " + unit + " (tolerance " +
           Number(scale.ToColumn(tolerance)) + " " + unit + ")\n" +
           "estimated duration: " + DurationText(before) + " -> " + DurationText(after) + "\n";
}

// The written element must read back to the merged segments: the module reads the columns, not
// this program, so it is asked once more before anything is replaced.
ElementPath ReadBack(const PluginModule& module, Project& project, const std::string& text,
                     const SimplifiedSegments& merged) {
    if (!ModuleAccepts(module, project, text, "the simplified element"))
        throw AppError("the module refuses the simplified element; nothing was written");
    ElementPath path =
        ReadElementPath(text, "the simplified element", project.Controller(), project.Motion());
    bool same = path.segments.size() == merged.segments.size();
    for (std::size_t i = 0; same && i < path.segments.size(); ++i)
        same = path.segments[i].counts == merged.segments[i].counts;
    if (!same)
        throw AppError(
            "the simplified element does not read back to its segments; nothing was "
            "written");
    return path;
}

ExitStatus RunSimplify(const CommonOptions& common, const SimplifyOptions& options) {
    RefuseOutputOverInput(common, options.output, {options.element});
    const std::string text = ReadInput(options.element);
    const std::string name = InputName(options.element);
    auto project = LoadProject(common);
    auto module = LoadModule(common);
    if (!ModuleAccepts(*module, *project, text, name)) return ExitStatus::Refused;
    const std::optional<ElementPath> path =
        ReadElementPath(text, name, project->Controller(), project->Motion());
    const double tolerance = ToleranceInCounts(*path, options.tolerance);
    const SimplifiedSegments merged = SimplifySegments(path->segments, tolerance);
    const std::string written =
        WithColumns(text, merged.segments, path->units, path->columnUnits, path->axisCount == 3);
    const ElementPath after = ReadBack(*module, *project, written, merged);
    WriteElementOutput(options.output, written);
    const std::string summary = Summary(*path, after, merged.largestDeviation, tolerance);
    if (options.output == kStandardStream)
        WriteStandardError(summary);
    else
        WriteStandardOutput(summary);
    return ExitStatus::Success;
}

}  // namespace

Command AddSimplifyCommand(CLI::App& app, CommonOptions& common) {
    auto options = std::make_shared<SimplifyOptions>();
    CLI::App* parser = AddCommand(
        app, common, "simplify",
        "Merge consecutive segments whose points lie within a tolerance of the merged chord");
    AddElementArgument(*parser, options->element, "Element file, or - for standard input");
    AddOutputOption(*parser, options->output,
                    "Write the simplified element to ELEMENT (- for "
                    "standard output)",
                    "ELEMENT")
        ->required();
    parser
        ->add_option("--tolerance", options->tolerance,
                     "Farthest a point may lie from its merged chord: a number in the X column's "
                     "unit, or with a unit (0.01mm)")
        ->type_name("LENGTH")
        ->required();
    return {parser, [&common, options] { return RunSimplify(common, *options); }};
}
