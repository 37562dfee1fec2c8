// Runs a program as a child process and captures what it printed, for command-line tests.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

struct ProgramOutcome {
    int status = -1;  // exit status, or 128 + signal
    std::string out;
    std::string err;
};

// Descriptors a child gets as its standard input and output instead of the capture files, for
// tests of pipes and failing output; -1 keeps the capture file.
struct ChildStreams {
    int input = -1;
    int output = -1;
};

// A child that runs while the test does something else; Finish waits for it.
class StartedProgram {
  public:
    // Starts argv (the program first) in the folder scratch, which holds the capture files,
    // with input on its standard input. The child starts with SIGPIPE at its default action.
    StartedProgram(const std::vector<std::string>& argv, const std::string& input,
                   const std::filesystem::path& scratch, ChildStreams streams = {});
    ProgramOutcome Finish();
    pid_t Pid() const { return m_pid; }

  private:
    pid_t m_pid = 0;
    std::filesystem::path m_scratch;
};

// Runs program with args in the folder scratch, input on its standard input.
ProgramOutcome RunProgram(const std::string& program, const std::vector<std::string>& args,
                          const std::string& input, const std::filesystem::path& scratch);

// The command line that runs program as an ordinary user: as it stands, or, when the tests run
// as root (as CI does), through setpriv as nobody, so that permissions apply to it; nobody then
// runs a copy of the program and the libraries beside it, as the build may be private.
std::vector<std::string> AsOrdinaryUser(const std::string& program,
                                        const std::vector<std::string>& args);
// The user and group AsOrdinaryUser runs as.
uid_t OrdinaryUserId();
gid_t OrdinaryGroupId();
