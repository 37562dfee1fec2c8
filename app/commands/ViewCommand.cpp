#include "app/commands/ViewCommand.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "app/cli/AppError.h"
#include "app/commands/PathCommandSupport.h"
#include "app/io/ViewerLibrary.h"
#include "viewer/ViewPathOf.h"

namespace {

struct ViewOptions {
    std::string element;
    DynamicsOptions before;
};

// The viewer's path of the element, when the module accepts it (its messages go to stderr
// otherwise).
std::optional<ViewPath> ReadViewPath(const CommonOptions& common, const ViewOptions& options) {
    const std::optional<ElementPath> path = ReadAcceptedPath(common, options.element);
    if (!path) return std::nullopt;
    return ViewPathOf(*path, MotionModelOf(*path, DynamicsOf(options.before, *path)));
}

ExitStatus RunView(const CommonOptions& common, const ViewOptions& options) {
    std::optional<ViewPath> path = ReadViewPath(common, options);
    if (!path) return ExitStatus::Refused;
    const bool fromFile = options.element != kStandardStream;
    ViewerSource source;
    source.name = InputName(options.element);
    source.watchedFile = fromFile ? options.element : "";
    source.read = [&common, &options, name = source.name] {
        std::optional<ViewPath> again = ReadViewPath(common, options);
        if (!again) {
            throw AppError(name +
                           ": the module refuses the changed element (its messages are on "
                           "standard error)");
        }
        return std::move(*again);
    };
    source.onLost = EndOnLostDisplay;
    RunViewerWindow(std::move(*path), source);
    return ExitStatus::Success;
}

}  // namespace

Command AddViewCommand(CLI::App& app, CommonOptions& common) {
    auto options = std::make_shared<ViewOptions>();
    CLI::App* parser = AddCommand(app, common, "view",
                                  "Show an element's path in a window, coloured by the vector "
                                  "speed, and follow the motion along it");
    AddElementArgument(*parser, options->element,
                       "Element file (re-read when it changes), or - for standard input");
    AddDynamicsOptions(*parser, options->before);
    return {parser, [&common, options] { return RunView(common, *options); }};
}
