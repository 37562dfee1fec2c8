#include "RunProgram.h"

#include <fcntl.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include "tests/support/ScratchFolder.h"

extern char** environ;

namespace {

const char* const kCaptures[] = {".stdin", ".stdout", ".stderr"};

int StatusOf(int waitStatus) {
    if (WIFEXITED(waitStatus)) return WEXITSTATUS(waitStatus);
    return 128 + WTERMSIG(waitStatus);
}

std::string Capture(const std::filesystem::path& scratch, int stream) {
    return (scratch / kCaptures[stream]).string();
}

const passwd* Nobody() { return getpwnam("nobody"); }

}  // namespace

StartedProgram::StartedProgram(const std::vector<std::string>& argv, const std::string& input,
                               const std::filesystem::path& scratch)
    : m_scratch(scratch) {
    WriteFileText(Capture(scratch, 0), input);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The scratch folder is the working folder, so nothing the program leaves lands elsewhere.
    posix_spawn_file_actions_addchdir_np(&actions, scratch.c_str());
    posix_spawn_file_actions_addopen(&actions, 0, Capture(scratch, 0).c_str(), O_RDONLY, 0);
    for (int stream : {1, 2}) {
        posix_spawn_file_actions_addopen(&actions, stream, Capture(scratch, stream).c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    std::vector<char*> pointers;
    for (const std::string& arg : argv) pointers.push_back(const_cast<char*>(arg.c_str()));
    pointers.push_back(nullptr);
    int spawned =
        posix_spawnp(&m_pid, argv.front().c_str(), &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) throw std::runtime_error("cannot start " + argv.front());
}

ProgramOutcome StartedProgram::Finish() {
    int waitStatus = 0;
    waitpid(m_pid, &waitStatus, 0);
    ProgramOutcome outcome{StatusOf(waitStatus), ReadFileText(Capture(m_scratch, 1)),
                           ReadFileText(Capture(m_scratch, 2))};
    for (int stream : {0, 1, 2}) std::filesystem::remove(Capture(m_scratch, stream));
    return outcome;
}

ProgramOutcome RunProgram(const std::string& program, const std::vector<std::string>& args,
                          const std::string& input, const std::filesystem::path& scratch) {
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), args.begin(), args.end());
    return StartedProgram(argv, input, scratch).Finish();
}

std::vector<std::string> AsOrdinaryUser(const std::string& program,
                                        const std::vector<std::string>& args) {
    std::vector<std::string> argv;
    if (geteuid() == 0) {
        argv = {"setpriv", "--reuid=" + std::to_string(OrdinaryUserId()),
                "--regid=" + std::to_string(OrdinaryGroupId()), "--clear-groups"};
    }
    argv.push_back(program);
    argv.insert(argv.end(), args.begin(), args.end());
    return argv;
}

uid_t OrdinaryUserId() {
    if (geteuid() != 0) return geteuid();
    const passwd* nobody = Nobody();
    return nobody ? nobody->pw_uid : 65534;
}

gid_t OrdinaryGroupId() {
    if (geteuid() != 0) return getegid();
    const passwd* nobody = Nobody();
    return nobody ? nobody->pw_gid : 65534;
}
