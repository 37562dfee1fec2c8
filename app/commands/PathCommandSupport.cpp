#include "app/commands/PathCommandSupport.h"

#include "app/cli/AppError.h"
#include "app/commands/QuantityOption.h"
#include "app/io/FileAccess.h"
#include "host/CString.h"
#include "toolpath/element/ElementProblems.h"

std::optional<ElementPath> ReadAcceptedPath(const CommonOptions& common,
                                            const std::string& elementFile) {
    const CString element(ReadInput(elementFile));
    auto project = LoadProject(common);
    auto module = LoadModule(common);
    // One reading validates the element as the module does and gives its path; the module is
    // asked only about an element that reading refuses, for its own messages.
    std::optional<ElementPath> path =
        ReadAcceptedElement(element, project->Controller(), project->Motion());
    if (path) return path;
    if (!ModuleAccepts(*module, *project, element.str(), InputName(elementFile)))
        return std::nullopt;
    return ReadElementPath(element.str(), InputName(elementFile), project->Controller(),
                           project->Motion());
}

PathMotion MotionOfPath(const ElementPath& path, DynamicsInForce before) {
    if (const std::optional<std::string> problem = SpeedInForceProblem(path, before.speed))
        throw AppError("--speed: " + *problem);
    if (const std::optional<std::string> problem =
            AccelerationInForceProblem(path, before.acceleration))
        throw AppError("--accel: " + *problem);
    PathMotion motion{MotionModelOf(path, before), {}};
    motion.stats = ComputeStats(path, motion.model);
    return motion;
}

namespace {

constexpr const char* kSpeedExample = "100mm/s or 6000mm/min";
constexpr const char* kAccelerationExample = "500mm/s^2";

// Checks the option's text as it is parsed; the unit is converted once the element is read.
CLI::Validator QuantityCheck(const char* option, const char* example) {
    return CLI::Validator(
        [option, example](std::string& value) {
            ParseQuantity(value, option, example);
            return std::string();
        },
        "", "quantity");
}

double InColumnUnit(const std::string& text, const std::string& columnUnit, const ElementPath& path,
                    bool speed) {
    const char* option = speed ? "--speed" : "--accel";
    const Quantity quantity =
        ParseQuantity(text, option, speed ? kSpeedExample : kAccelerationExample);
    if (quantity.unit.empty()) return quantity.value;
    return speed ? SpeedIn(path.units, quantity, columnUnit, option)
                 : Converted(path.units, quantity, columnUnit, option);
}

}  // namespace

void AddDynamicsOptions(CLI::App& command, DynamicsOptions& before) {
    command
        .add_option("--speed", before.speed,
                    "Speed in force before the element: a number in the speed column's unit, or "
                    "with a unit (100mm/s, 6000mm/min)")
        ->type_name("S")
        ->check(QuantityCheck("--speed", kSpeedExample));
    command
        .add_option("--accel", before.acceleration,
                    "Acceleration in force before the element: a number in the acceleration "
                    "column's unit, or with a unit (500mm/s^2)")
        ->type_name("A")
        ->check(QuantityCheck("--accel", kAccelerationExample));
}

DynamicsInForce DynamicsOf(const DynamicsOptions& options, const ElementPath& path) {
    DynamicsInForce before;
    if (!options.speed.empty())
        before.speed = InColumnUnit(options.speed, path.columnUnits.speed, path, true);
    if (!options.acceleration.empty())
        before.acceleration =
            InColumnUnit(options.acceleration, path.columnUnits.acceleration, path, false);
    return before;
}
