#include "app/commands/PlotCommand.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app/cli/AppError.h"
#include "app/commands/PathCommandSupport.h"
#include "base/CharClass.h"
#include "base/EscapedText.h"
#include "base/numbertext/Parse.h"
#include "toolpath/plot/SvgPlot.h"

namespace {

enum class PictureFormat { Svg, Png };

struct PlotOptions {
    std::string element;
    std::string output;
    std::string format;
    std::string size;
    std::string view;
    PlotRequest request;
    DynamicsOptions before;
};

// What the name's extension tells, whatever its case; nothing for other names.
std::optional<PictureFormat> FormatOfName(const std::string& name) {
    std::string extension = std::filesystem::path(name).extension().string();
    for (char& c : extension) c = ToLower(c);
    if (extension == ".svg") return PictureFormat::Svg;
    if (extension == ".png") return PictureFormat::Png;
    return std::nullopt;
}

// --format when given (it must agree with the name's extension), else the extension; standard
// output takes SVG unless --format says otherwise.
PictureFormat FormatOf(const PlotOptions& options) {
    const bool toStandardOutput = options.output == kStandardStream;
    const std::optional<PictureFormat> named =
        toStandardOutput ? std::nullopt : FormatOfName(options.output);
    if (options.format.empty()) {
        if (toStandardOutput) return PictureFormat::Svg;
        if (!named)
            throw AppError("plot: cannot tell the picture's format from " + options.output +
                           ": name a .svg or .png file, or give --format svg or png");
        return *named;
    }
    const PictureFormat asked = options.format == "png" ? PictureFormat::Png : PictureFormat::Svg;
    if (named && *named != asked)
        throw AppError("plot: --format " + options.format + " but " + options.output +
                       " names another format; nothing was written");
    return asked;
}

std::string SizeRangeText() {
    return "WIDTHxHEIGHT, each a whole number from " + std::to_string(kLeastPlotSide) + " to " +
           std::to_string(kMostPlotSide);
}

// "WxH" with both sides in range; nothing for any other text.
std::optional<PlotSize> ParseSize(const std::string& text) {
    const std::size_t cross = text.find('x');
    if (cross == std::string::npos) return std::nullopt;
    long long width = 0;
    long long height = 0;
    if (numbertext::ParseWhole(text.substr(0, cross), width) != numbertext::ParseResult::Ok ||
        numbertext::ParseWhole(text.substr(cross + 1), height) != numbertext::ParseResult::Ok)
        return std::nullopt;
    const auto inRange = [](long long side) {
        return side >= kLeastPlotSide && side <= kMostPlotSide;
    };
    if (!inRange(width) || !inRange(height)) return std::nullopt;
    return PlotSize{static_cast<int>(width), static_cast<int>(height)};
}

CLI::Validator SizeText() {
    return CLI::Validator(
        [](std::string& text) {
            if (ParseSize(text)) return std::string();
            return Quoted(text) + " is not " + SizeRangeText();
        },
        "", "WxH");
}

PlotView ViewOfName(const std::string& name) {
    if (name == "xz") return PlotView::XZ;
    if (name == "yz") return PlotView::YZ;
    return PlotView::XY;
}

ExitStatus RunPlot(const CommonOptions& common, PlotOptions options) {
    RefuseOutputOverInput(common, options.output, {options.element});
    const PictureFormat format = FormatOf(options);
    const std::optional<ElementPath> path = ReadAcceptedPath(common, options.element);
    if (!path) return ExitStatus::Refused;
    options.request.name = InputName(options.element);
    if (!options.size.empty()) options.request.size = ParseSize(options.size);
    if (!options.view.empty()) {
        const PlotView view = ViewOfName(options.view);
        if (!PathHasView(*path, view))
            throw AppError("plot: --view " + options.view + " needs a Z axis, and " +
                           options.request.name + " has " + std::to_string(path->axisCount) +
                           "; nothing was written");
        options.request.view = view;
    }
    const PathMotion motion = MotionOfPath(*path, DynamicsOf(options.before, *path));
    WriteOutput(options.output,
                format == PictureFormat::Png
                    ? RenderPngPlot(*path, motion.model, motion.stats, options.request)
                    : RenderSvgPlot(*path, motion.model, motion.stats, options.request));
    return ExitStatus::Success;
}

}  // namespace

Command AddPlotCommand(CLI::App& app, CommonOptions& common) {
    auto options = std::make_shared<PlotOptions>();
    CLI::App* parser = AddCommand(app, common, "plot",
                                  "Draw an element's path as SVG or PNG, coloured by the vector "
                                  "speed");
    AddElementArgument(*parser, options->element, "Element file, or - for standard input");
    AddOutputOption(*parser, options->output,
                    "The .svg or .png file to write, or - for standard output (SVG unless "
                    "--format png)")
        ->required();
    parser
        ->add_option("--format", options->format,
                     "svg or png; without it the extension of -o FILE tells")
        ->check(OneOf({"svg", "png"}));
    parser
        ->add_option("--size", options->size,
                     "The whole picture, WIDTHxHEIGHT (pixels for PNG, user units for SVG), each "
                     "from " +
                         std::to_string(kLeastPlotSide) + " to " + std::to_string(kMostPlotSide) +
                         "; without it the views' own size")
        ->check(SizeText());
    parser
        ->add_option("--view", options->view,
                     "Draw only this plane: xy, xz or yz (xz and yz need a Z axis); without it "
                     "XY for a 2D element, XY, XZ, YZ and isometric for a 3D one")
        ->check(OneOf({"xy", "xz", "yz"}));
    parser->add_flag("--profile", options->request.speedProfile,
                     "Add a chart of the vector speed over time");
    AddDynamicsOptions(*parser, options->before);
    return {parser, [&common, options] { return RunPlot(common, *options); }};
}
