#include "RunProgram.h"

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <memory>
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

// The build folder may be one only root can enter (a clone in a private folder), and the
// program finds its libraries and the module there. So the ordinary user runs a copy of the
// program beside copies of the libraries, in a folder anyone can read, removed at the end.
class ReachableCopy {
  public:
    explicit ReachableCopy(const std::filesystem::path& program) {
        std::string folder = (std::filesystem::temp_directory_path() / "vantrel-reachable-XXXXXX");
        if (mkdtemp(folder.data()) == nullptr)
            throw std::runtime_error("cannot make a folder for the ordinary user");
        m_folder = folder;
        std::filesystem::permissions(m_folder, std::filesystem::perms(0755));
        for (const auto& entry : std::filesystem::directory_iterator(program.parent_path())) {
            const std::string name = entry.path().filename().string();
            if (entry.is_regular_file() &&
                (entry.path() == program || name.find(".so") != std::string::npos))
                std::filesystem::copy_file(entry.path(), m_folder / name);
        }
        m_program = m_folder / program.filename();
    }
    ~ReachableCopy() {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    ReachableCopy(const ReachableCopy&) = delete;
    ReachableCopy& operator=(const ReachableCopy&) = delete;

    std::string Program() const { return m_program.string(); }
    // The program's library path points into the build; the copies are found first.
    std::string LibraryPath() const { return "LD_LIBRARY_PATH=" + m_folder.string(); }

  private:
    std::filesystem::path m_folder;
    std::filesystem::path m_program;
};

const ReachableCopy& ReachableCopyOf(const std::string& program) {
    static std::map<std::string, std::unique_ptr<ReachableCopy>> copies;
    std::unique_ptr<ReachableCopy>& copy = copies[program];
    if (!copy) copy = std::make_unique<ReachableCopy>(program);
    return *copy;
}

}  // namespace

StartedProgram::StartedProgram(const std::vector<std::string>& argv, const std::string& input,
                               const std::filesystem::path& scratch, ChildStreams streams)
    : m_scratch(scratch) {
    WriteFileText(Capture(scratch, 0), input);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The scratch folder is the working folder, so nothing the program leaves lands elsewhere.
    posix_spawn_file_actions_addchdir_np(&actions, scratch.c_str());
    if (streams.input >= 0)
        posix_spawn_file_actions_adddup2(&actions, streams.input, 0);
    else
        posix_spawn_file_actions_addopen(&actions, 0, Capture(scratch, 0).c_str(), O_RDONLY, 0);
    if (streams.output >= 0)
        posix_spawn_file_actions_adddup2(&actions, streams.output, 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, Capture(scratch, 1).c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, Capture(scratch, 2).c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    // A test runner that ignores SIGPIPE would hand that on; the program must not depend on it.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &pipeSignal);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    std::vector<char*> pointers;
    for (const std::string& arg : argv) pointers.push_back(const_cast<char*>(arg.c_str()));
    pointers.push_back(nullptr);
    int spawned =
        posix_spawnp(&m_pid, argv.front().c_str(), &actions, &attributes, pointers.data(), environ);
    posix_spawnattr_destroy(&attributes);
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
    if (geteuid() != 0) {
        argv.push_back(program);
    } else {
        const ReachableCopy& copy = ReachableCopyOf(program);
        argv = {"setpriv",
                "--reuid=" + std::to_string(OrdinaryUserId()),
                "--regid=" + std::to_string(OrdinaryGroupId()),
                "--clear-groups",
                "env",
                copy.LibraryPath(),
                copy.Program()};
    }
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
