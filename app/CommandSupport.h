// What the sub-commands share: the common options and loading what they name.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <memory>
#include <string>

#include "app/PluginModule.h"
#include "app/Project.h"

// The options every sub-command takes.
struct CommonOptions {
    std::string project;  // project file; empty = the built-in demo project
    std::string plugin;   // module file; empty = the one beside the program or installed
};

// A sub-command as the command line sees it: its CLI11 parser and what runs it, returning the
// exit status.
struct Command {
    CLI::App* parser = nullptr;
    std::function<int()> run;
};

// "-" in place of a file: standard input or output.
inline constexpr const char* kStandardStream = "-";

// Adds a sub-command with the common options bound to common.
CLI::App* AddCommand(CLI::App& app, CommonOptions& common, const char* name, const char* about);
// Refuses an empty option value.
CLI::Validator NotEmpty();

std::unique_ptr<Project> LoadProject(const CommonOptions& common);
std::unique_ptr<PluginModule> LoadModule(const CommonOptions& common);
// The file's text, or standard input for "-".
std::string ReadInput(const std::string& path);
// How messages name path: "standard input" for "-".
std::string InputName(const std::string& path);
// Writes "vantrel: MESSAGE" as one line on standard error. Messages quote what the user gave
// (names, keys, script lines), so their control characters are escaped: the line stays one line
// and nothing reaches the terminal as a control sequence.
void ReportMessage(const std::string& message);
