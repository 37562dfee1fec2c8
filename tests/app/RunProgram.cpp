#include "RunProgram.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <stdexcept>

#include "tests/support/ScratchFolder.h"

extern char** environ;

namespace {

int StatusOf(int waitStatus) {
    if (WIFEXITED(waitStatus)) return WEXITSTATUS(waitStatus);
    return 128 + WTERMSIG(waitStatus);
}

}  // namespace

ProgramOutcome RunProgram(const std::string& program, const std::vector<std::string>& args,
                          const std::string& input, const std::filesystem::path& scratch) {
    const std::string in = (scratch / ".stdin").string();
    const std::string out = (scratch / ".stdout").string();
    const std::string err = (scratch / ".stderr").string();
    WriteFileText(in, input);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) throw std::runtime_error("cannot start " + program);
    int waitStatus = 0;
    waitpid(pid, &waitStatus, 0);
    ProgramOutcome outcome{StatusOf(waitStatus), ReadFileText(out), ReadFileText(err)};
    for (const std::string& capture : {in, out, err}) std::filesystem::remove(capture);
    return outcome;
}
