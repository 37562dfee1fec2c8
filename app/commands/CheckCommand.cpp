#include "app/commands/CheckCommand.h"

#include <memory>
#include <string>
#include <utility>

#include "app/io/FileAccess.h"

namespace {

// The module has no export that only validates: translating reads and validates the element
// completely, so its verdict and messages are the check's, and the program text is dropped.
ExitStatus RunCheck(const CommonOptions& common, const std::string& elementPath) {
    std::string element = ReadInput(elementPath);
    auto project = LoadProject(common);
    auto module = LoadModule(common);
    return ModuleAccepts(*module, *project, std::move(element), InputName(elementPath))
               ? ExitStatus::Success
               : ExitStatus::Refused;
}

}  // namespace

Command AddCheckCommand(CLI::App& app, CommonOptions& common) {
    auto element = std::make_shared<std::string>();
    CLI::App* parser = AddCommand(app, common, "check",
                                  "Read and validate an element: exit 0 when it is valid, else "
                                  "print every problem and exit 1");
    AddElementArgument(*parser, *element, "Element file, or - for standard input");
    return {parser, [&common, element] { return RunCheck(common, *element); }};
}
