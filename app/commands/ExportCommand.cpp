#include "app/commands/ExportCommand.h"

#include <memory>
#include <optional>
#include <string>

#include "app/cli/AppError.h"
#include "app/commands/PathCommandSupport.h"
#include "toolpath/element/ElementPath.h"
#include "toolpath/exchange/CsvWriter.h"
#include "toolpath/exchange/GcodeWriter.h"
#include "toolpath/exchange/PathFormat.h"

namespace {

struct ExportOptions {
    std::string element;
    std::string output;
    std::string format;
    bool absolute = false;
};

bool IsGcode(const ExportOptions& options) {
    if (!options.format.empty()) return options.format == "gcode";
    const std::optional<PathFormat> format = FormatOfFileName(options.output);
    if (!format) throw AppError("export: give --format gcode or csv");
    return *format == PathFormat::Gcode;
}

ExitStatus RunExport(const CommonOptions& common, const ExportOptions& options) {
    const bool gcode = IsGcode(options);
    RefuseOutputOverInput(common, options.output, {options.element});
    const std::optional<ElementPath> path = ReadAcceptedPath(common, options.element);
    if (!path) return ExitStatus::Refused;
    const std::string name = InputName(options.element);
    WriteOutput(options.output,
                gcode ? WriteGcode(*path, name) : WriteCsv(*path, options.absolute));
    return ExitStatus::Success;
}

}  // namespace

Command AddExportCommand(CLI::App& app, CommonOptions& common) {
    auto options = std::make_shared<ExportOptions>();
    CLI::App* parser =
        AddCommand(app, common, "export", "Write an element's segments as CSV or G-code");
    AddElementArgument(*parser, options->element, "Element file, or - for standard input");
    AddOutputOption(*parser, options->output, "Write to FILE instead of standard output");
    parser
        ->add_option("--format", options->format,
                     "csv or gcode; without it the extension of -o FILE tells")
        ->check(OneOf({"gcode", "csv"}));
    parser->add_flag("--absolute", options->absolute,
                     "CSV: the positions after each segment instead of its increments");
    return {parser, [&common, options] { return RunExport(common, *options); }};
}
