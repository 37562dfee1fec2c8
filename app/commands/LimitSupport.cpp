#include "app/commands/LimitSupport.h"

#include <algorithm>
#include <optional>

#include "app/cli/AppError.h"

namespace {

// How many base units one position unit of the drive is.
double BasePerDriveUnit(const ElementPath& path, const DriveLimits& drive) {
    double numerator = 1.0;
    double denominator = 1.0;
    if (!path.units.ConversionFactors(drive.positionUnit.c_str(),
                                      path.scales.baseLengthUnit.c_str(), numerator, denominator))
        throw AppError("the drive's position unit \"" + drive.positionUnit +
                       "\" does not convert into the element's base unit \"" +
                       path.scales.baseLengthUnit + "\"");
    return numerator / denominator;
}

std::optional<double> Scaled(const std::optional<double>& value, double factor) {
    if (!value) return std::nullopt;
    return *value * factor;
}

}  // namespace

CLI::Option* AddStartOption(CLI::App& command, std::vector<double>& from) {
    return command
        .add_option("--from", from,
                    "Where the axes are at the element's start, in their drives' position units; "
                    "without it travel_min and travel_max are relative to the start")
        ->type_name("X,Y[,Z]")
        ->delimiter(',')
        ->expected(2, 3);
}

PathLimits LimitsOfProject(const Project& project, const ElementPath& path,
                           const std::vector<double>& from) {
    if (!from.empty() && from.size() != static_cast<std::size_t>(path.axisCount))
        throw AppError("--from: the element has " + std::to_string(path.axisCount) + " axes, and " +
                       std::to_string(from.size()) + " positions were given");
    PathLimits limits;
    double sampleTime = 0.0;
    const bool hasUnits = path.unitKind != UnitKind::None;
    for (int a = 0; a < path.axisCount; ++a) {
        const auto axis = static_cast<std::size_t>(a);
        const DriveLimits* drive = project.SlaveLimits(path.slaves[axis]);
        if (drive == nullptr) continue;
        sampleTime = std::max(sampleTime, drive->sampleTime);
        if (!hasUnits || drive->positionUnit.empty()) continue;
        const double factor = BasePerDriveUnit(path, *drive);
        limits.axes[axis] = {Scaled(drive->maxSpeed, factor),
                             Scaled(drive->maxAcceleration, factor),
                             Scaled(drive->travelMin, factor), Scaled(drive->travelMax, factor)};
        if (!from.empty()) limits.start[axis] = from[axis] * factor;
    }
    limits.minSegmentTime = project.MinSegmentTime().value_or(2.0 * sampleTime);
    return limits;
}
