// Files and the framework's exceptions: clean failures with messages that name the file.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/ActiveBackendGuard.h"
#include "platform/AfxWin.h"
#include "platform/Backend.h"

namespace {

class TempFile {
  public:
    explicit TempFile(const std::string& content) {
        path =
            (std::filesystem::temp_directory_path() /
             ("vantrel_file_test_" + std::to_string(::getpid()) + "_" + std::to_string(++counter)))
                .string();
        std::ofstream(path, std::ios::binary) << content;
    }
    ~TempFile() { std::filesystem::remove(path); }
    std::string path;

  private:
    static inline int counter = 0;
};

std::string Message(const CException& e) {
    std::string message;
    e.GetErrorMessage(message);
    return message;
}

TEST(File, ReadsAllBytesThenReportsTheEnd) {
    TempFile file("line 1\nline 2");
    CFile input(file.path, CFile::modeRead | CFile::shareDenyWrite);
    char buffer[64];
    EXPECT_EQ(input.Read(buffer, 5), 5u);
    EXPECT_EQ(input.Read(buffer, sizeof buffer), 8u);
    EXPECT_EQ(input.Read(buffer, sizeof buffer), 0u);
    input.Close();
    EXPECT_FALSE(input.IsOpen());
    input.Close();
}

TEST(File, OpeningAMissingFileFailsWithTheCauseAndAClearMessage) {
    CFile file;
    CFileException error;
    EXPECT_FALSE(file.Open("/no/such/dir/x.txt", CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(error.m_lOsError, ENOENT);
    EXPECT_EQ(Message(error), "Cannot open \"/no/such/dir/x.txt\": No such file or directory.");
    EXPECT_FALSE(file.IsOpen());
    EXPECT_FALSE(file.Open("", CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_FALSE(file.Open(nullptr, CFile::modeRead));
}

TEST(File, ADirectoryIsNotAFile) {
    CFileException error;
    CFile file;
    std::string folder = std::filesystem::temp_directory_path().string();
    EXPECT_FALSE(file.Open(folder, CFile::modeRead | CFile::shareDenyWrite, &error));
    EXPECT_EQ(error.m_lOsError, EISDIR);
    EXPECT_EQ(error.m_cause, CFileException::accessDenied);
    EXPECT_EQ(Message(error), "Cannot open \"" + folder + "\": Is a directory.");
}

TEST(File, TheOpeningConstructorThrowsByValue) {
    try {
        CFile file("/no/such/file", CFile::modeRead);
        FAIL() << "no exception";
    } catch (CException& e) {
        auto* fileError = dynamic_cast<CFileException*>(&e);
        ASSERT_NE(fileError, nullptr);
        EXPECT_EQ(fileError->m_strFileName, "/no/such/file");
    }
}

// How opening path for reading ends, as "cause: message". Root reads every file, so when the
// tests run as root (as in CI) a child process that has dropped to nobody opens it.
std::string OpenAsOrdinaryUser(const std::string& path) {
    auto attempt = [&path] {
        CFileException error;
        CFile input;
        if (input.Open(path, CFile::modeRead, &error)) return std::string("opened");
        return std::to_string(error.m_cause) + ": " + Message(error);
    };
    if (::geteuid() != 0) return attempt();
    const passwd* nobody = ::getpwnam("nobody");
    int channel[2];
    if (nobody == nullptr || ::pipe(channel) != 0) return "no ordinary user";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        bool dropped = ::setgroups(0, nullptr) == 0 && ::setgid(nobody->pw_gid) == 0 &&
                       ::setuid(nobody->pw_uid) == 0;
        const std::string outcome = dropped ? attempt() : "cannot drop to nobody";
        const bool written = ::write(channel[1], outcome.data(), outcome.size()) ==
                             static_cast<ssize_t>(outcome.size());
        ::_exit(written ? 0 : 1);
    }
    ::close(channel[1]);
    std::string outcome;
    char buffer[256];
    for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        outcome.append(buffer, static_cast<size_t>(got));
    ::close(channel[0]);
    ::waitpid(child, nullptr, 0);
    return outcome;
}

TEST(File, AMissingPermissionFails) {
    TempFile file("secret");
    std::filesystem::permissions(file.path, std::filesystem::perms::none);
    EXPECT_EQ(OpenAsOrdinaryUser(file.path), std::to_string(CFileException::accessDenied) +
                                                 ": Cannot open \"" + file.path +
                                                 "\": Permission denied.");
}

TEST(File, DenyWriteFailsWhileAnotherHolderLocksTheFileExclusively) {
    TempFile file("data");
    int holder = ::open(file.path.c_str(), O_RDONLY);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    CFileException error;
    CFile input;
    EXPECT_FALSE(input.Open(file.path, CFile::modeRead | CFile::shareDenyWrite, &error));
    EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
    EXPECT_EQ(Message(error),
              "Cannot open \"" + file.path + "\": another program is using the file.");
    EXPECT_TRUE(input.Open(file.path, CFile::modeRead | CFile::shareDenyNone));
    ::flock(holder, LOCK_UN);
    EXPECT_TRUE(input.Open(file.path, CFile::modeRead | CFile::shareDenyWrite));
    CFile second;
    EXPECT_TRUE(second.Open(file.path, CFile::modeRead | CFile::shareDenyWrite)) << "readers share";
    ::close(holder);
}

TEST(File, AReadErrorThrowsAndNamesTheFile) {
    TempFile file("data");
    CFile output(file.path, CFile::modeWrite);
    char buffer[4];
    try {
        output.Read(buffer, sizeof buffer);
        FAIL() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_operation, CFileException::opRead);
        EXPECT_EQ(Message(e), "Reading \"" + file.path + "\" failed: Bad file descriptor.");
    }
}

TEST(File, WritesCreateAndTruncate) {
    TempFile file("old content");
    {
        CFile output(file.path, CFile::modeCreate | CFile::modeWrite);
        output.Write("new", 3);
        output.Close();
    }
    CFile input(file.path, CFile::modeRead);
    char buffer[32] = {};
    EXPECT_EQ(input.Read(buffer, sizeof buffer - 1), 3u);
    EXPECT_STREQ(buffer, "new");
    CFile closed;
    EXPECT_THROW(closed.Read(buffer, 1), CFileException);
}

// Answers message boxes and remembers them.
class MessageRecorder : public Backend {
  public:
    INT_PTR RunModal(CDialog&) override { return -1; }
    int MessageBox(const std::string& text, UINT type) override {
        shown.push_back({text, type});
        return IDOK;
    }
    std::optional<std::string> ChooseFile(const FileDialogRequest&) override {
        return std::nullopt;
    }
    int ChooseItem(const std::string&, const std::vector<std::string>&, int) override { return -1; }
    bool AskInteger(const std::string&, const std::string&, int&, int, int) override {
        return false;
    }
    std::vector<std::pair<std::string, UINT>> shown;
};

TEST(Exceptions, ReportErrorShowsTheMessageWithAnExclamationIcon) {
    MessageRecorder recorder;
    {
        ActiveBackendGuard active(recorder);
        CFileException(CFileException::fileNotFound, ENOENT, "a.txt").ReportError();
        CFileException(CFileException::hardIO, EIO, "b.txt", CFileException::opRead)
            .ReportError(MB_OKCANCEL);
        AfxRegisterString(31050, "Something went wrong.");
        CUserException().ReportError(MB_OK, 31050);
        CException().ReportError();
    }
    ASSERT_EQ(recorder.shown.size(), 4u);
    EXPECT_EQ(recorder.shown[0],
              std::make_pair(std::string("Cannot open \"a.txt\": No such file or directory."),
                             MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(
        recorder.shown[1],
        std::make_pair(std::string("Reading \"b.txt\" failed: Input/output error."), MB_OKCANCEL));
    EXPECT_EQ(recorder.shown[2].first, "Something went wrong.");
    EXPECT_EQ(recorder.shown[3].first, "An unknown error occurred.");
}

}  // namespace
