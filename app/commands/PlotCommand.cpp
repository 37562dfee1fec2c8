#include "app/commands/PlotCommand.h"

#include <memory>
#include <string>

#include "app/commands/PathCommandSupport.h"
#include "toolpath/plot/SvgPlot.h"

namespace {

struct PlotOptions {
    std::string element;
    std::string output;
    PlotRequest request;
    DynamicsOptions before;
};

ExitStatus RunPlot(const CommonOptions& common, PlotOptions options) {
    RefuseOutputOverInput(common, options.output, {options.element});
    const std::optional<ElementPath> path = ReadAcceptedPath(common, options.element);
    if (!path) return ExitStatus::Refused;
    options.request.name = InputName(options.element);
    const PathMotion motion = MotionOfPath(*path, DynamicsOf(options.before, *path));
    const std::string svg = RenderSvgPlot(*path, motion.model, motion.stats, options.request);
    WriteOutput(options.output, svg);
    return ExitStatus::Success;
}

}  // namespace

Command AddPlotCommand(CLI::App& app, CommonOptions& common) {
    auto options = std::make_shared<PlotOptions>();
    CLI::App* parser = AddCommand(app, common, "plot",
                                  "Draw an element's path as SVG, coloured by the vector speed");
    AddElementArgument(*parser, options->element, "Element file, or - for standard input");
    AddOutputOption(*parser, options->output, "The SVG file to write, or - for standard output")
        ->required();
    parser->add_flag("--profile", options->request.speedProfile,
                     "Add a chart of the vector speed over time");
    AddDynamicsOptions(*parser, options->before);
    return {parser, [&common, options] { return RunPlot(common, *options); }};
}
