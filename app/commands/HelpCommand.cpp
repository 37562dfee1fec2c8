#include "app/commands/HelpCommand.h"

#include <memory>
#include <string>

#include "app/cli/AppError.h"
#include "app/io/FileAccess.h"

namespace {

ExitStatus RunHelp(const CLI::App& app, const std::string& topic) {
    if (topic.empty()) {
        // App::help would show the help of the command that runs: this one.
        WriteStandardOutput(
            app.get_formatter()->make_help(&app, app.get_name(), CLI::AppFormatMode::Normal));
        return ExitStatus::Success;
    }
    for (const CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; })) {
        if (command->check_name(topic)) {
            WriteStandardOutput(command->help(app.get_name()));
            return ExitStatus::Success;
        }
    }
    throw AppError(UnknownCommandMessage(app, topic));
}

}  // namespace

Command AddHelpCommand(CLI::App& app, CommonOptions& /*common*/) {
    auto topic = std::make_shared<std::string>();
    CLI::App* parser =
        app.add_subcommand("help", "Print the help of the program, or of COMMAND and its options");
    parser->add_option("COMMAND", *topic, "The command to explain");
    return {parser, [&app, topic] { return RunHelp(app, *topic); }};
}
