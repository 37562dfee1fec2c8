// Runs a program as a child process and captures what it printed, for command-line tests.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct ProgramOutcome {
    int status = -1;  // exit status, or 128 + signal
    std::string out;
    std::string err;
};

// Runs program with args, input on its standard input; scratch holds the capture files.
ProgramOutcome RunProgram(const std::string& program, const std::vector<std::string>& args,
                          const std::string& input, const std::filesystem::path& scratch);
