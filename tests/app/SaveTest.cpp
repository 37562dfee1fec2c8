// Saving an edited element: replaced whole or not at all, owner and permissions kept, and the
// user's edits never thrown away, whoever runs it (an ordinary user or root).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "CliFixture.h"
#include "app/io/FileAccess.h"
#include "tests/support/ScratchFolder.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kEditScript = "type IDC_POSITION_X 12.5\nclick IDC_UPDATE\nok\n";
constexpr const char* kEditedX = "X_TPOS[mm]=12.5 0 -10 0\n";

struct stat StatOf(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(lstat(path.c_str(), &info), 0) << path;
    return info;
}

// A process id that belonged to a process that has ended.
pid_t EndedProcessId() {
    pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

// Makes the file's modification time an hour old.
void Age(const fs::path& path) {
    timespec times[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
    utimensat(AT_FDCWD, path.c_str(), times, 0);
}

bool Holds(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class Save : public CliEdit {
  protected:
    void SetUp() override {
        CliEdit::SetUp();
        // An ordinary user works in the folder too.
        fs::permissions(m_folder, fs::perms::all);
        m_script = Write("script.txt", kEditScript);
    }

    void TearDown() override {
        if (m_mounted) umount2(m_disk.c_str(), MNT_DETACH);
        CliEdit::TearDown();
    }

    ProgramOutcome EditAsOrdinaryUser(const std::string& element) {
        return StartedProgram(
                   AsOrdinaryUser(BuiltProgramPath(), {"edit", element, "--script", m_script}), "",
                   m_folder)
            .Finish();
    }

    // Hands the file to the user the ordinary-user runs are made as.
    static void GiveToOrdinaryUser(const fs::path& path) {
        ASSERT_EQ(lchown(path.c_str(), OrdinaryUserId(), OrdinaryGroupId()), 0) << path;
    }

    // A small file system of its own, filled up; false when it cannot be mounted (not root).
    bool MountFullDisk() {
        m_disk = m_folder / "disk";
        fs::create_directory(m_disk);
        if (mount("tmpfs", m_disk.c_str(), "tmpfs", 0, "size=1m") != 0) return false;
        m_mounted = true;
        return true;
    }

    static void FillUp(const fs::path& folder) {
        int fd = open((folder / "filler").c_str(), O_WRONLY | O_CREAT, 0600);
        std::string block(4096, 'x');
        while (write(fd, block.data(), block.size()) > 0) {
        }
        close(fd);
    }

    std::string m_script;
    fs::path m_disk;
    bool m_mounted = false;
};

TEST_F(Save, TheFileIsReplacedSoHardLinksKeepTheOldTextAndSymbolicLinksStay) {
    const fs::path other = m_folder / "other.txt";
    fs::create_hard_link(m_element, other);
    const fs::path link = m_folder / "link.txt";
    fs::create_symlink("element.txt", link);
    const ino_t before = StatOf(m_element).st_ino;
    ProgramOutcome outcome = Run({"edit", link.string(), "--script", m_script});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(Holds(ReadFileText(m_element), kEditedX));
    EXPECT_NE(StatOf(m_element).st_ino, before);
    EXPECT_EQ(ReadFileText(other), m_before);
    EXPECT_EQ(FolderContent(),
              (std::vector<std::string>{"element.txt", "link.txt", "other.txt", "script.txt"}));
}

TEST_F(Save, ADanglingLinkGetsItsTargetCreated) {
    const fs::path link = m_folder / "link.txt";
    fs::create_symlink("new.txt", link);
    ProgramOutcome outcome = Run({"new", "-o", link.string()});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFileText(m_folder / "new.txt"), Run({"new"}).out);
}

TEST_F(Save, OwnerGroupAndPermissionsAreKeptButNeverSpecialBits) {
    GiveToOrdinaryUser(m_element);
    fs::permissions(m_element, fs::perms::owner_read | fs::perms::owner_write |
                                   fs::perms::group_read | fs::perms::set_uid | fs::perms::set_gid);
    ProgramOutcome outcome = Edit(kEditScript);
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const struct stat after = StatOf(m_element);
    EXPECT_EQ(after.st_uid, OrdinaryUserId());
    EXPECT_EQ(after.st_gid, OrdinaryGroupId());
    EXPECT_EQ(after.st_mode & 07777, 0640u);
}

TEST_F(Save, AReadOnlyFileIsNotReplacedAndTheEditIsKeptBesideIt) {
    GiveToOrdinaryUser(m_element);
    fs::permissions(m_element,
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    ProgramOutcome outcome = EditAsOrdinaryUser(m_element);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_TRUE(IsOneLine(outcome.err)) << outcome.err;
    EXPECT_TRUE(Holds(outcome.err, "read-only")) << outcome.err;
    const fs::path kept = m_folder / "element.txt.recovered";
    EXPECT_TRUE(Holds(outcome.err, "kept in " + kept.string())) << outcome.err;
    EXPECT_EQ(ReadFileText(m_element), m_before);
    EXPECT_TRUE(Holds(ReadFileText(kept), kEditedX));
    EXPECT_EQ(StatOf(kept).st_mode & 0777, 0600u);
}

TEST_F(Save, InAReadOnlyFolderTheEditIsKeptInTheWorkingFolder) {
    const fs::path folder = m_folder / "locked";
    fs::create_directory(folder);
    const fs::path element = folder / "element.txt";
    fs::copy_file(m_element, element);
    GiveToOrdinaryUser(element);
    const fs::perms readOnly = fs::perms::owner_read | fs::perms::owner_exec |
                               fs::perms::group_read | fs::perms::group_exec |
                               fs::perms::others_read | fs::perms::others_exec;
    fs::permissions(folder, readOnly);
    ProgramOutcome outcome = EditAsOrdinaryUser(element.string());
    fs::permissions(folder, fs::perms::owner_all);
    EXPECT_EQ(outcome.status, 2);
    const fs::path kept = m_folder / "element.txt.recovered";
    EXPECT_TRUE(Holds(outcome.err, "kept in " + kept.string())) << outcome.err;
    EXPECT_TRUE(Holds(ReadFileText(kept), kEditedX));
    EXPECT_EQ(ReadFileText(element), m_before);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST_F(Save, OnAFullDiskTheOldFileStaysWholeAndTheEditIsKeptElsewhere) {
    if (!MountFullDisk()) GTEST_SKIP() << "mounting a small file system needs root";
    const fs::path element = m_disk / "element.txt";
    fs::copy_file(m_element, element);
    FillUp(m_disk);
    ProgramOutcome outcome = Run({"edit", element.string(), "--script", m_script});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_TRUE(Holds(outcome.err, "No space left on device")) << outcome.err;
    const fs::path kept = m_folder / "element.txt.recovered";
    EXPECT_TRUE(Holds(outcome.err, "kept in " + kept.string())) << outcome.err;
    EXPECT_TRUE(Holds(ReadFileText(kept), kEditedX));
    EXPECT_EQ(ReadFileText(element), m_before);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_disk), fs::directory_iterator()), 2);
}

TEST_F(Save, RecoveryCopiesNeverReplaceEarlierOnes) {
    GiveToOrdinaryUser(m_element);
    fs::permissions(m_element, fs::perms::owner_read);
    const fs::path first = m_folder / "element.txt.recovered";
    WriteFileText(first, "an earlier recovery\n");
    ProgramOutcome outcome = EditAsOrdinaryUser(m_element);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(ReadFileText(first), "an earlier recovery\n");
    EXPECT_TRUE(Holds(ReadFileText(m_folder / "element.txt.recovered-1"), kEditedX));
}

TEST_F(Save, TemporaryFilesOfKilledSavesOfTheSameElementAreRemoved) {
    const std::string ended = std::to_string(EndedProcessId());
    const std::string running = std::to_string(getpid());
    const std::vector<std::string> leftovers = {
        ".element.txt.vantrel-save-" + ended + "-a1B2c3",    // stale: removed
        ".element.txt.vantrel-save-" + running + "-a1B2c3",  // its save still runs
        ".other.txt.vantrel-save-" + ended + "-a1B2c3",      // another element's
        ".element.txt.vantrel-save-notours",                 // not a name of ours
    };
    for (const std::string& name : leftovers) Age(Write(name, "partial"));
    ProgramOutcome outcome = Edit(kEditScript);
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    std::vector<std::string> expected(leftovers.begin() + 1, leftovers.end());
    expected.insert(expected.end(), {"element.txt", "script.txt"});
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FolderContent(), expected);
}

TEST_F(Save, ARootUserDoesNotReplaceAFileWithoutAnyWriteBitEither) {
    fs::permissions(m_element,
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    ProgramOutcome outcome = Edit(kEditScript);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_TRUE(Holds(outcome.err, "read-only")) << outcome.err;
    EXPECT_EQ(ReadFileText(m_element), m_before);
    EXPECT_TRUE(Holds(ReadFileText(m_folder / "element.txt.recovered"), kEditedX));
    EXPECT_EQ(Run({"new", "-o", m_element}).status, 2);
    EXPECT_EQ(ReadFileText(m_element), m_before);
}

// Names near the file system's limit leave no room for the temporary file's and the recovery
// file's endings; those names are shortened instead of the save failing.
class SaveUnderALongName : public Save {
  protected:
    static constexpr std::size_t kLongName = 250;

    std::string LongElement(char letter) {
        return Write(std::string(kLongName - 8, letter) + ".element", kDemoElement);
    }

    // The file in the folder other than the given ones.
    std::string OtherFile(const std::vector<std::string>& known) const {
        for (const std::string& name : FolderContent())
            if (std::find(known.begin(), known.end(), name) == known.end()) return name;
        return {};
    }
};

TEST_F(SaveUnderALongName, TheElementIsSavedAndNothingIsLeftBehind) {
    const std::string element = LongElement('a');
    ProgramOutcome outcome = Run({"edit", element, "--script", m_script});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_TRUE(Holds(ReadFileText(element), kEditedX));
    std::vector<std::string> expected = {fs::path(element).filename().string(), "element.txt",
                                         "script.txt"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FolderContent(), expected);
}

TEST_F(SaveUnderALongName, TheRecoveryFileFitsAndStartsWithTheElementsName) {
    const std::string element = LongElement('b');
    const std::string name = fs::path(element).filename().string();
    fs::permissions(element, fs::perms::owner_read);
    ProgramOutcome outcome = Run({"edit", element, "--script", m_script});
    EXPECT_EQ(outcome.status, 2);
    const std::string kept = OtherFile({name, "script.txt"});
    ASSERT_FALSE(kept.empty()) << outcome.err;
    EXPECT_LE(kept.size(), 255u);
    EXPECT_EQ(kept.substr(0, 200), name.substr(0, 200));
    EXPECT_TRUE(kept.ends_with(".recovered")) << kept;
    EXPECT_TRUE(Holds(outcome.err, "kept in " + (m_folder / kept).string())) << outcome.err;
    EXPECT_TRUE(Holds(ReadFileText(m_folder / kept), kEditedX));
}

TEST_F(SaveUnderALongName, LongNamesWithOneStartGetRecoveryFilesOfTheirOwn) {
    const std::string stem(kLongName - 20, 'c');
    const std::string first = Write(stem + "-first.element", kDemoElement);
    const std::string second = Write(stem + "-second.element", kDemoElement);
    fs::permissions(first, fs::perms::owner_read);
    fs::permissions(second, fs::perms::owner_read);
    EXPECT_EQ(Run({"edit", first, "--script", m_script}).status, 2);
    EXPECT_EQ(Run({"edit", second, "--script", m_script}).status, 2);
    std::vector<std::string> recovered;
    for (const std::string& name : FolderContent())
        if (name.ends_with(".recovered")) recovered.push_back(name);
    EXPECT_EQ(recovered.size(), 2u);
}

// Extended attributes, the access control list among them, belong to the file, not to its
// text: a save keeps them.
class SaveAttributes : public Save {
  protected:
    // An access list granting the ordinary user write access, the owning group only reading:
    // the mask (rw) shows as the group's mode bits.
    static std::string AccessList(std::uint16_t ownerPermission = 6) {
        struct Entry {
            std::uint16_t tag;
            std::uint16_t perm;
            std::uint32_t id;
        };
        constexpr std::uint32_t kNoId = 0xFFFFFFFF;
        const Entry entries[] = {{0x01, ownerPermission, kNoId},
                                 {0x02, 6, OrdinaryUserId()},
                                 {0x04, 4, kNoId},
                                 {0x10, 6, kNoId},
                                 {0x20, 4, kNoId}};
        const std::uint32_t version = 2;
        std::string bytes(reinterpret_cast<const char*>(&version), sizeof version);
        bytes.append(reinterpret_cast<const char*>(entries), sizeof entries);
        return bytes;
    }

    static std::string Attribute(const fs::path& path, const char* name) {
        std::string value(4096, '\0');
        const ssize_t size = getxattr(path.c_str(), name, value.data(), value.size());
        value.resize(size < 0 ? 0 : static_cast<std::size_t>(size));
        return value;
    }

    // False when the file system takes no such attribute.
    static bool Set(const fs::path& path, const char* name, const std::string& value) {
        return setxattr(path.c_str(), name, value.data(), value.size(), 0) == 0;
    }
};

TEST_F(SaveAttributes, UserAttributesAndTheAccessListAreKept) {
    if (!Set(m_element, "user.vantrel-note", "kept"))
        GTEST_SKIP() << "the file system takes no user attributes";
    if (!Set(m_element, "system.posix_acl_access", AccessList()))
        GTEST_SKIP() << "the file system takes no access lists";
    const std::string accessList = Attribute(m_element, "system.posix_acl_access");
    const mode_t mode = StatOf(m_element).st_mode & 0777;
    ProgramOutcome outcome = Edit(kEditScript);
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_TRUE(Holds(ReadFileText(m_element), kEditedX));
    EXPECT_EQ(Attribute(m_element, "user.vantrel-note"), "kept");
    EXPECT_EQ(Attribute(m_element, "system.posix_acl_access"), accessList);
    EXPECT_EQ(StatOf(m_element).st_mode & 0777, mode);
}

// The list is reached without opening the old file, which the user may write but not read.
TEST_F(SaveAttributes, TheAccessListIsKeptOnAFileTheUserMayWriteButNotRead) {
    GiveToOrdinaryUser(m_element);
    if (!Set(m_element, "system.posix_acl_access", AccessList(2)))
        GTEST_SKIP() << "the file system takes no access lists";
    const std::string accessList = Attribute(m_element, "system.posix_acl_access");
    ProgramOutcome outcome =
        StartedProgram(AsOrdinaryUser(BuiltProgramPath(), {"new", "-o", m_element}), "", m_folder)
            .Finish();
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(StatOf(m_element).st_mode & 0700, 0200u);
    EXPECT_EQ(Attribute(m_element, "system.posix_acl_access"), accessList);
}

// Standard output that fails while a scripted edit dumps its state: the confirmed edit is saved
// first, then the failure is reported.
class SaveWhenOutputFails : public Save {
  protected:
    ProgramOutcome EditWithOutput(int output) {
        const std::string script = "type IDC_POSITION_X 12.5\nclick IDC_UPDATE\ndump\nok\n";
        return StartedProgram(
                   {BuiltProgramPath(), "edit", m_element, "--script", Write("script.txt", script)},
                   "", m_folder, {.output = output})
            .Finish();
    }
};

TEST_F(SaveWhenOutputFails, AFullDiskAsOutputStillSavesTheEdit) {
    const int full = open("/dev/full", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(full, 0);
    ProgramOutcome outcome = EditWithOutput(full);
    close(full);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_TRUE(IsOneLine(outcome.err)) << outcome.err;
    EXPECT_TRUE(Holds(outcome.err, "standard output")) << outcome.err;
    EXPECT_TRUE(Holds(outcome.err, "the edited element was saved")) << outcome.err;
    EXPECT_TRUE(Holds(ReadFileText(m_element), kEditedX));
}

TEST_F(SaveWhenOutputFails, AClosedPipeIsReportedNotASilentEndAndTheEditIsSaved) {
    int ends[2];
    ASSERT_EQ(pipe2(ends, O_CLOEXEC), 0);
    close(ends[0]);
    ProgramOutcome outcome = EditWithOutput(ends[1]);
    close(ends[1]);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_TRUE(Holds(outcome.err, "standard output")) << outcome.err;
    EXPECT_TRUE(Holds(ReadFileText(m_element), kEditedX));
}

TEST_F(SaveWhenOutputFails, AnEditThatCannotBeSavedEitherIsKeptAndBothAreReported) {
    fs::permissions(m_element, fs::perms::owner_read);
    const int full = open("/dev/full", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(full, 0);
    ProgramOutcome outcome = EditWithOutput(full);
    close(full);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_TRUE(Holds(outcome.err, "standard output")) << outcome.err;
    EXPECT_TRUE(Holds(outcome.err, "read-only")) << outcome.err;
    EXPECT_TRUE(Holds(ReadFileText(m_folder / "element.txt.recovered"), kEditedX));
    EXPECT_EQ(ReadFileText(m_element), m_before);
}

// While the editor waits for segments from a pipe, someone else changes the element file: the
// editor must not write over their work, nor drop its own.
class SaveWhileChanged : public Save {
  protected:
    // Runs an edit that imports from a pipe; change() runs while the editor waits on it.
    template <class Change>
    ProgramOutcome EditWhile(const std::string& element, Change change) {
        const fs::path pipe = m_folder / "segments";
        EXPECT_EQ(mkfifo(pipe.c_str(), 0600), 0);
        // Opened for both ends, the pipe has a writer before the editor opens it.
        int fd = open(pipe.c_str(), O_RDWR | O_CLOEXEC);
        std::string script = "file " + pipe.string() + "\nclick IDC_IMPORT\nok\n";
        StartedProgram editor({BuiltProgramPath(), "edit", element, "--script", "-"}, script,
                              m_folder);
        EXPECT_TRUE(WaitUntilOpenedBy(editor.Pid(), pipe));
        change();
        EXPECT_EQ(write(fd, "1 2 3\n", 6), 6);
        close(fd);
        ProgramOutcome outcome = editor.Finish();
        fs::remove(pipe);
        return outcome;
    }

    // True once the process has the file open.
    static bool WaitUntilOpenedBy(pid_t process, const fs::path& file) {
        const fs::path descriptors = fs::path("/proc") / std::to_string(process) / "fd";
        for (int tries = 0; tries < 1000; ++tries) {
            std::error_code error;
            for (const auto& fd : fs::directory_iterator(descriptors, error)) {
                if (fs::read_symlink(fd.path(), error) == file) return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    // The import's one segment, as the editor writes it in the element's unit.
    void ExpectKeptAsRecovery(const ProgramOutcome& outcome, const std::string& name,
                              const std::string& importedX = "X_TPOS[mm]=1\n") {
        EXPECT_EQ(outcome.status, 2);
        EXPECT_TRUE(IsOneLine(outcome.err)) << outcome.err;
        EXPECT_TRUE(Holds(outcome.err, "changed on disk")) << outcome.err;
        EXPECT_TRUE(Holds(ReadFileText(m_folder / (name + ".recovered")), importedX));
    }
};

TEST_F(SaveWhileChanged, AnotherWritersTextIsNotOverwritten) {
    ProgramOutcome outcome =
        EditWhile(m_element, [this] { WriteFileText(m_element, "someone else's\n"); });
    ExpectKeptAsRecovery(outcome, "element.txt");
    EXPECT_EQ(ReadFileText(m_element), "someone else's\n");
}

TEST_F(SaveWhileChanged, ARemovedElementIsNotBroughtBack) {
    ProgramOutcome outcome = EditWhile(m_element, [this] { fs::remove(m_element); });
    ExpectKeptAsRecovery(outcome, "element.txt");
    EXPECT_FALSE(fs::exists(m_element));
}

TEST_F(SaveWhileChanged, ANewElementCreatedMeanwhileIsNotOverwritten) {
    const std::string fresh = (m_folder / "fresh.txt").string();
    ProgramOutcome outcome = EditWhile(fresh, [&] { WriteFileText(fresh, "theirs\n"); });
    ExpectKeptAsRecovery(outcome, "fresh.txt", "X_TPOS[IU]=1\n");
    EXPECT_EQ(ReadFileText(fresh), "theirs\n");
}

TEST_F(SaveWhileChanged, AnUnchangedElementIsSaved) {
    ProgramOutcome outcome = EditWhile(m_element, [] {});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_TRUE(Holds(ReadFileText(m_element), "X_TPOS[mm]=1\n"));
}

}  // namespace

// The check that an element did not change while it was edited reads the file block by block.
TEST(ContentId, AFileHoldsWhatWasReadOnlyByteForByte) {
    const ScratchFolder folder("vantrel-content");
    std::string text(2'500'000, 'x');
    for (std::size_t i = 0; i < text.size(); i += 997) text[i] = static_cast<char>('a' + i % 26);
    const std::string path = folder.Write("element", text);
    const ContentId read = ContentIdOf(text);
    EXPECT_TRUE(FileHolds(path, read));
    std::string changed = text;
    changed[1'500'000] = 'y';  // in the second of the blocks hashed
    WriteFileText(path, changed);
    EXPECT_FALSE(FileHolds(path, read));
    WriteFileText(path, text + "x");
    EXPECT_FALSE(FileHolds(path, read));
    WriteFileText(path, text.substr(1));
    EXPECT_FALSE(FileHolds(path, read));
    EXPECT_FALSE(FileHolds(folder.Path().string(), ContentIdOf("")));
    EXPECT_TRUE(FileHolds(folder.Write("empty", ""), ContentIdOf("")));
}
