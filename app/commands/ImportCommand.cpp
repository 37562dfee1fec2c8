#include "app/commands/ImportCommand.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/cli/AppError.h"
#include "app/commands/QuantityOption.h"
#include "app/io/FileAccess.h"
#include "base/SourcePlace.h"
#include "base/numbertext/Layout.h"
#include "host/CString.h"
#include "module/plugin/VantrelExports.h"
#include "toolpath/element/ElementPath.h"
#include "toolpath/element/ElementWriter.h"
#include "toolpath/element/PathError.h"
#include "toolpath/exchange/CsvReader.h"
#include "toolpath/exchange/GcodeReader.h"
#include "toolpath/exchange/PathFormat.h"
#include "toolpath/exchange/SegmentBuilder.h"

namespace {

struct ImportOptions {
    std::string file;
    std::string output;
    std::string append;
    std::string format;
    std::string profile;
    std::string tolerance;
    std::string rapid;
    std::string accel;
    std::string ignore;
    std::size_t maxSegments = kDefaultMaxSegments;
    bool absolute = false;
};

// The element the segments go into, and how its columns read.
struct Target {
    std::string text;
    ElementPath layout;
    ColumnUnits units;
    bool threeAxes = true;
};

ProgramQuantity ToleranceOf(const ImportOptions& options, const CMC_Units& units) {
    if (options.tolerance.empty()) return {0.01, false};
    const Quantity tolerance = ParseQuantity(options.tolerance, "--tolerance", "0.01mm");
    if (tolerance.unit.empty()) return {tolerance.value, true};
    return {Converted(units, tolerance, "mm", "--tolerance"), false};
}

// A bare number is in the program's units per minute, like an F word.
std::optional<ProgramQuantity> RapidOf(const ImportOptions& options, const CMC_Units& units) {
    if (options.rapid.empty()) return std::nullopt;
    const Quantity rapid = ParseQuantity(options.rapid, "--rapid", "6000mm/min");
    if (rapid.unit.empty()) return ProgramQuantity{rapid.value, true};
    return ProgramQuantity{SpeedIn(units, rapid, "mm/s", "--rapid"), false};
}

// The bound is there to stop a runaway import; past a thousand million segments no element
// could be read back.
constexpr long long kMostMaxSegments = 1000000000;

bool IsGcode(const ImportOptions& options) {
    if (!options.format.empty()) return options.format == "gcode";
    const std::optional<PathFormat> format = FormatOfFileName(options.file);
    if (!format)
        throw AppError(InputName(options.file) +
                       ": the format is not known from the name; give --format gcode or csv");
    return *format == PathFormat::Gcode;
}

// The module's units for the columns of axes of that kind.
ColumnUnits PhysicalUnitsOf(UnitKind kind) {
    if (kind == UnitKind::Rotary) return {{"rot", "rot", "rot"}, "rad/s", "rad/s^2"};
    return {{"mm", "mm", "mm"}, "m/s", "m/s^2"};
}

std::string DefaultElement(const PluginModule& module, Project& project, const std::string& profile,
                           const std::string& projectName) {
    std::string text = NewElementText(module, project);
    if (profile.empty()) return text;
    return WithProfile(text, profile == "3d", projectName);
}

// The element the segments go into: the one to append to (which the module has accepted), or
// the project's default element. Its problems name the element file or the project.
Target ReadTarget(const PluginModule& module, Project& project, std::string appended,
                  const CommonOptions& common, const ImportOptions& options) {
    const bool append = !options.append.empty();
    const std::string name = append                   ? options.append
                             : common.project.empty() ? std::string("the built-in demo project")
                                                      : common.project;
    Target target;
    target.text =
        append ? std::move(appended) : DefaultElement(module, project, options.profile, name);
    target.layout = ReadElementPath(target.text, name, project.Controller(), project.Motion());
    if (target.layout.unitKind == UnitKind::None)
        throw PathError(SourcePlace{name},
                        "the element's axes do not share one unit (all linear or all rotary, of "
                        "one base unit), so there is nothing to convert the file's numbers into");
    target.threeAxes = target.layout.axisCount == 3;
    target.units = append ? target.layout.columnUnits : PhysicalUnitsOf(target.layout.unitKind);
    return target;
}

ImportedPath ReadSource(const std::string& text, const std::string& name, bool gcode,
                        const Target& target, const ImportOptions& options) {
    const CMC_Units& units = target.layout.units;
    if (!gcode) {
        // An option that cannot act is refused rather than passed over.
        if (!options.ignore.empty())
            throw AppError("--ignore: it leaves out G-code words, and " + name +
                           " is read as a CSV table, which has none; leave the option out");
        CsvOptions csv{options.absolute, target.threeAxes, &units, target.units,
                       options.maxSegments};
        return ReadCsv(text, name, csv);
    }
    if (target.layout.unitKind != UnitKind::Linear)
        throw AppError(PlaceMessage(SourcePlace{name},
                                    "G-code moves lengths, and the element's axes are rotary; "
                                    "import a CSV table instead"));
    GcodeOptions gcodeOptions;
    gcodeOptions.tolerance = ToleranceOf(options, units);
    gcodeOptions.rapid = RapidOf(options, units);
    gcodeOptions.threeAxes = target.threeAxes;
    if (const std::string problem = AddIgnoredWords(options.ignore, gcodeOptions); !problem.empty())
        throw AppError("--ignore: " + problem);
    gcodeOptions.maxSegments = options.maxSegments;
    // A chord's ends move by up to half a count on each axis when rounded.
    const double count = ScaleToInternal(units, "mm").FromInternal(1.0);
    gcodeOptions.roundingAllowance = 0.5 * count * std::sqrt(target.layout.axisCount);
    return ReadGcode(text, name, gcodeOptions);
}

PathScales ScalesOf(const ImportedPath& path, const CMC_Units& units) {
    PathScales scales;
    for (size_t axis = 0; axis < 3; ++axis)
        scales.position[axis] = ScaleToInternal(units, path.units.position[axis]);
    scales.speed = ScaleToInternal(units, path.units.speed);
    scales.acceleration = ScaleToInternal(units, path.units.acceleration);
    return scales;
}

void SetFirstAcceleration(std::vector<PathSegment>& segments, const Target& target,
                          const std::string& accel) {
    Quantity quantity = ParseQuantity(accel, "--accel", "0.5m/s^2");
    if (quantity.unit.empty()) quantity.unit = target.units.acceleration;
    const CountScale scale = ScaleToInternal(target.layout.units, quantity.unit);
    segments[0].accelerationLiteral = StoredRate(quantity.value, scale, quantity.unit, "--accel");
}

bool HasAcceleration(const std::vector<PathSegment>& segments) {
    return std::any_of(segments.begin(), segments.end(), [](const PathSegment& segment) {
        return segment.accelerationLiteral != 0.0;
    });
}

// The element made from the file, and what the summary tells of the making.
struct MadeElement {
    std::string text;
    ReadCounts counts;
    std::vector<std::string> warnings;
    std::size_t segments = 0;
    std::size_t merged = 0;
};

// The file's path and segments are let go before the module checks the element, which needs
// as much memory again.
MadeElement MakeElement(const std::string& source, const std::string& name, bool gcode,
                        const Target& target, const ImportOptions& options) {
    ImportedPath path = ReadSource(source, name, gcode, target, options);
    BuiltSegments built = BuildSegments(path, ScalesOf(path, target.layout.units), name);
    if (!options.accel.empty()) SetFirstAcceleration(built.segments, target, options.accel);
    MadeElement made;
    made.text = options.append.empty()
                    ? WithColumns(target.text, built.segments, target.layout.units, target.units,
                                  target.threeAxes)
                    : WithAppendedColumns(target.text, built.segments, target.layout.units,
                                          target.threeAxes);
    made.counts = path.counts;
    made.warnings = std::move(path.warnings);
    if (options.accel.empty() && !HasAcceleration(built.segments) &&
        !HasAcceleration(target.layout.segments))
        made.warnings.push_back(
            PlaceMessage(SourcePlace{name},
                         "the file sets no acceleration, so the element has none and its duration "
                         "cannot be estimated; give --accel VALUE (such as --accel 0.5m/s^2)"));
    made.segments = built.segments.size();
    made.merged = built.merged;
    return made;
}

std::string Summary(const std::string& name, const MadeElement& made, double seconds) {
    const ReadCounts& counts = made.counts;
    return name + ": " + std::to_string(counts.lines) + " lines read, " +
           std::to_string(made.segments) + " segments made, " + std::to_string(counts.arcs) +
           " arcs split into " + std::to_string(counts.chords) + " chords, " +
           std::to_string(counts.wordsIgnored) + " words ignored, " +
           std::to_string(made.warnings.size()) + " warnings, " + std::to_string(made.merged) +
           " moves under a count joined, " + numbertext::Significant(seconds, 3).Str() + " s";
}

const std::string& Destination(const ImportOptions& options) {
    return options.append.empty() ? options.output : options.append;
}

// An element appended to is written only when it still holds what was read, as the editor
// saves: two appends at once must not lose one side's segments.
void WriteElement(const ImportOptions& options, const std::string& element,
                  const ContentId& appendedTo) {
    if (!options.append.empty() && !FileHolds(options.append, appendedTo))
        throw AppError(options.append +
                       ": changed on disk while the segments were imported; not overwritten");
    WriteElementOutput(Destination(options), element);
}

ExitStatus RunImport(const CommonOptions& common, const ImportOptions& options) {
    const auto started = std::chrono::steady_clock::now();
    const bool gcode = IsGcode(options);
    RefuseOutputOverInput(common, Destination(options), {options.file});
    const std::string name = InputName(options.file);
    const bool append = !options.append.empty();
    // The element first: the time until it is written again, when a change on disk is looked
    // for, then covers reading the file too.
    std::string base = append ? ReadWholeFile(options.append) : std::string();
    const ContentId appendedTo = ContentIdOf(base);
    std::string source = ReadInput(options.file);
    auto project = LoadProject(common);
    auto module = LoadModule(common);
    if (append && !ElementAccepted(*module, *project, base, options.append))
        return ExitStatus::Failure;
    const Target target = ReadTarget(*module, *project, std::move(base), common, options);
    MadeElement made = MakeElement(source, name, gcode, target, options);
    std::string().swap(source);
    if (!ElementAccepted(*module, *project, made.text, name)) {
        ReportMessage(name + ": the module refuses the element made from it; nothing was written");
        return ExitStatus::Failure;
    }
    WriteElement(options, made.text, appendedTo);
    for (const std::string& warning : made.warnings) ReportMessage("warning: " + warning);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
    ReportMessage(Summary(name, made, elapsed.count()));
    return ExitStatus::Success;
}

}  // namespace

Command AddImportCommand(CLI::App& app, CommonOptions& common) {
    auto options = std::make_shared<ImportOptions>();
    CLI::App* parser =
        AddCommand(app, common, "import", "Make an element from a G-code program or a CSV table");
    parser->add_option("FILE", options->file, "G-code or CSV file, or - for standard input")
        ->required()
        ->check(NotEmpty());
    CLI::Option* output =
        AddOutputOption(*parser, options->output, "Write the new element to ELEMENT", "ELEMENT");
    CLI::Option* append = parser
                              ->add_option("--append", options->append,
                                           "Add the segments to the end of this element file")
                              ->type_name("ELEMENT")
                              ->check(NotEmpty())
                              ->excludes(output);
    parser
        ->add_option("--format", options->format,
                     "gcode or csv; without it the file name's extension tells")
        ->check(OneOf({"gcode", "csv"}));
    parser
        ->add_option("--profile", options->profile,
                     "2d or 3d for the new element; without it the project's default")
        ->check(OneOf({"2d", "3d"}))
        ->excludes(append);
    parser
        ->add_option("--tolerance", options->tolerance,
                     "Farthest a chord may lie from its arc: a number in the program's units, "
                     "or with a unit (default 0.01mm)")
        ->type_name("LENGTH");
    parser
        ->add_option("--rapid", options->rapid,
                     "Speed of G0 moves: a number in the program's units per minute, or with a "
                     "unit (mm/s, mm/min, ...); without it G0 moves keep the feed")
        ->type_name("SPEED");
    parser
        ->add_option("--accel", options->accel,
                     "Acceleration of the first segment, in the element's unit or with one")
        ->type_name("VALUE");
    parser
        ->add_option("--ignore", options->ignore,
                     "G-code words that are harmless in this program, comma-separated (G43,G28,A): "
                     "left out with a warning instead of refused")
        ->type_name("WORDS");
    parser
        ->add_option("--max-segments", options->maxSegments,
                     "Most segments the import may make, chords of arcs included (default " +
                         std::to_string(kDefaultMaxSegments) + ")")
        ->type_name("N")
        ->check(WholeNumberIn(1, kMostMaxSegments));
    parser->add_flag("--absolute", options->absolute,
                     "The CSV table holds absolute positions, not increments");
    return {parser, [&common, options] { return RunImport(common, *options); }};
}
