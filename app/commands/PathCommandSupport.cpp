#include "app/commands/PathCommandSupport.h"

#include "app/cli/AppError.h"
#include "app/io/FileAccess.h"
#include "toolpath/element/PathError.h"

namespace {

// The host's messages end each in CR LF; one line for the user.
std::string OneLine(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    for (char& c : text) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return text;
}

}  // namespace

std::optional<ElementPath> ReadAcceptedPath(const CommonOptions& common,
                                            const std::string& elementFile) {
    const std::string element = ReadInput(elementFile);
    auto project = LoadProject(common);
    auto module = LoadModule(common);
    if (!ModuleAccepts(*module, *project, element, InputName(elementFile))) return std::nullopt;
    try {
        return ReadElementPath(element, project->Controller(), project->Motion());
    } catch (const PathError& error) {
        throw AppError(InputName(elementFile) + ": " + OneLine(error.what()));
    }
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
