#include "app/commands/PathCommandSupport.h"

#include "app/cli/AppError.h"
#include "app/io/FileAccess.h"

std::optional<ElementPath> ReadAcceptedPath(const CommonOptions& common,
                                            const std::string& elementFile) {
    const std::string element = ReadInput(elementFile);
    auto project = LoadProject(common);
    auto module = LoadModule(common);
    if (!ModuleAccepts(*module, *project, element, InputName(elementFile))) return std::nullopt;
    return ReadElementPath(element, InputName(elementFile), project->Controller(),
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

void AddDynamicsOptions(CLI::App& command, DynamicsInForce& before) {
    command
        .add_option("--speed", before.speed,
                    "Speed in force before the element, in the speed column's unit")
        ->type_name("S")
        ->check(CLI::PositiveNumber);
    command
        .add_option("--accel", before.acceleration,
                    "Acceleration in force before the element, in the acceleration column's "
                    "unit")
        ->type_name("A")
        ->check(CLI::PositiveNumber);
}
