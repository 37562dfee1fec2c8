// What the sub-commands share: the common options and loading what they name.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/cli/ExitStatus.h"
#include "app/io/FileAccess.h"
#include "app/io/PluginModule.h"
#include "app/project/Project.h"

// The options every sub-command takes.
struct CommonOptions {
    std::string project;  // project file; empty = the built-in demo project
    std::string plugin;   // module file; empty = the one beside the program or installed
};

// A sub-command as the command line sees it: its CLI11 parser and what runs it, returning the
// exit status.
struct Command {
    CLI::App* parser = nullptr;
    std::function<ExitStatus()> run;
};

// "-" in place of a file: standard input or output.
inline constexpr const char* kStandardStream = "-";

// Adds the common options, bound to common, to a parser. The program and every sub-command
// carry them, so that they work before and after the sub-command's name.
void AddCommonOptions(CLI::App& parser, CommonOptions& common);
// Adds a sub-command with the common options bound to common.
CLI::App* AddCommand(CLI::App& app, CommonOptions& common, const char* name, const char* about);
// Refuses an empty option value.
CLI::Validator NotEmpty();
// One of names, as CLI::IsMember, with the refused text shortened in the message.
CLI::Validator OneOf(std::vector<std::string> names);
// A whole number from min to max.
CLI::Validator WholeNumberIn(long long min, long long max);
// Adds the required ELEMENT argument.
void AddElementArgument(CLI::App& command, std::string& element, const char* about);
// Adds "-o,--output" naming a file (of the kind typeName) to write.
CLI::Option* AddOutputOption(CLI::App& command, std::string& output, const char* about,
                             const char* typeName = "FILE");

std::unique_ptr<Project> LoadProject(const CommonOptions& common);
std::unique_ptr<PluginModule> LoadModule(const CommonOptions& common);
// The file's text, or standard input for "-".
std::string ReadInput(const std::string& path);
// How messages name path: "standard input" for "-".
std::string InputName(const std::string& path);
// Writes bytes to standard output for "-" or an empty path, else atomically to the file.
void WriteOutput(const std::string& path, const std::string& bytes);
// Writes an element as WriteOutput does, unless it is larger than limit: no command would read
// it back (see kInputSizeLimit).
void WriteElementOutput(const std::string& path, const std::string& bytes,
                        std::uint64_t limit = kInputSizeLimit);
// Refuses, before anything is read, an output file that is one of the files the command reads:
// inputs, the project and the module (through links and hard links too), since replacing it
// would destroy what is being read. "-" and empty names are the standard streams.
void RefuseOutputOverInput(const CommonOptions& common, const std::string& output,
                           const std::vector<std::string>& inputs = {});

// What the module made of an element: the program text, or the messages of its refusal.
struct Translation {
    bool accepted = false;
    std::string text;
    std::string element;  // the element's text, given back when it was refused
};
// The element is taken over (a caller that keeps it passes a copy), so that a long element's
// text and its program are each held once.
Translation TranslateElement(const PluginModule& module, Project& project, std::string element);
// A refusal as standard error shows it: the module's messages byte for byte, then a line end
// when they lack one, so that the shell's prompt starts on a line of its own.
std::string RefusalText(const std::string& messages, const std::string& elementName);
// Writes a refusal to standard error: RefusalText, then a line "vantrel: NAME: PLACE: problem"
// for each problem located behind the module's messages (the first kShownProblems of them).
void ReportRefusal(const Translation& refused, Project& project, const std::string& elementName);
inline constexpr std::size_t kShownProblems = 20;
// The module's messages one by one: each ends in CR LF, except a last one without a line end.
std::vector<std::string> ModuleMessages(const std::string& messages);

// "unknown command "word"", with the closest command of app as a suggestion when one is near.
std::string UnknownCommandMessage(const CLI::App& app, const std::string& word);
// The module's text of a new element on the project.
std::string NewElementText(const PluginModule& module, Project& project);
// Whether the module's translation accepts element; when it does not, its messages go to stderr
// (see RefusalText). The element is taken over, as by TranslateElement.
bool ModuleAccepts(const PluginModule& module, Project& project, std::string element,
                   const std::string& elementName);
// As ModuleAccepts, found by one reading on the host by the module's rules: the module is asked
// only about an element that reading refuses, so its verdict and messages stay the module's.
// The element is read where it lies, not copied; it holds the same text on return.
bool ElementAccepted(const PluginModule& module, Project& project, std::string& element,
                     const std::string& elementName);

// Writes "vantrel: MESSAGE" as one line on standard error. Messages quote what the user gave
// (names, keys, script lines), so their control characters are escaped: the line stays one line
// and nothing reaches the terminal as a control sequence.
void ReportMessage(const std::string& message);

// The window's display went away while a window was open: the program ends as on any failure
// (exit 2), so that an edit does not read as a cancel; at once, as the display's library must
// not be called again on the way out.
[[noreturn]] void EndOnLostDisplay(const std::string& reason);
