// Saving into a sticky folder that everyone may write (such as /tmp): a name another user put
// there never redirects a write, whoever runs the program, and the user's own links still work.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "CliFixture.h"

namespace {

namespace fs = std::filesystem;

bool Holds(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class SharedFolderSave : public Cli {
  protected:
    void SetUp() override {
        Cli::SetUp();
        if (geteuid() != 0) GTEST_SKIP() << "names of another user need root to be made";
        fs::permissions(m_folder, fs::perms(0755));
        m_shared = m_folder / "shared";
        fs::create_directory(m_shared);
        fs::permissions(m_shared, fs::perms(01777));
        m_victim = Write("victim.txt", "not to be replaced\n");
    }

    // A link at name in the shared folder to target, owned by owner.
    fs::path Link(const std::string& name, const fs::path& target, uid_t owner) {
        const fs::path link = m_shared / name;
        fs::create_symlink(target, link);
        EXPECT_EQ(lchown(link.c_str(), owner, static_cast<gid_t>(-1)), 0);
        return link;
    }

    ProgramOutcome RunAsOrdinaryUser(const std::vector<std::string>& args) {
        return StartedProgram(AsOrdinaryUser(BuiltProgramPath(), args), "", m_folder).Finish();
    }

    void ExpectRefused(const ProgramOutcome& outcome, const fs::path& link) {
        EXPECT_EQ(outcome.status, 2);
        EXPECT_TRUE(IsOneLine(outcome.err)) << outcome.err;
        EXPECT_TRUE(Holds(outcome.err, "another user's link")) << outcome.err;
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(ReadFileText(m_victim), "not to be replaced\n");
    }

    fs::path m_shared;
    std::string m_victim;
};

TEST_F(SharedFolderSave, RootDoesNotFollowAnotherUsersLink) {
    const fs::path link = Link("x.svg", m_victim, OrdinaryUserId());
    ExpectRefused(Run({"new", "-o", link.string()}), link);
    ExpectRefused(Run({"plot", Write("e.element", kDemoElement), "-o", link.string()}), link);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_shared), fs::directory_iterator()), 1);
}

TEST_F(SharedFolderSave, AnotherUsersDanglingLinkGetsNoTargetCreated) {
    const fs::path target = m_folder / "created.txt";
    const fs::path link = Link("x.element", target, OrdinaryUserId());
    ExpectRefused(Run({"new", "-o", link.string()}), link);
    EXPECT_FALSE(fs::exists(target));
}

TEST_F(SharedFolderSave, AnOrdinaryUserDoesNotFollowRootsLinkInAFolderOfAnotherOwner) {
    // The folder belongs to neither the link's owner nor the user.
    fs::permissions(m_folder, fs::perms(0777));
    ASSERT_EQ(chown(m_shared.c_str(), OrdinaryUserId() - 1, static_cast<gid_t>(-1)), 0);
    ASSERT_EQ(chown(m_victim.c_str(), OrdinaryUserId(), OrdinaryGroupId()), 0);
    const fs::path link = Link("x.element", m_victim, 0);
    ExpectRefused(RunAsOrdinaryUser({"new", "-o", link.string()}), link);
}

TEST_F(SharedFolderSave, TheUsersOwnLinkAndTheFolderOwnersLinkAreFollowed) {
    const fs::path own = Link("own.element", m_folder / "own-target.element", 0);
    const ProgramOutcome outcome = Run({"new", "-o", own.string()});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_TRUE(fs::is_symlink(own));
    EXPECT_EQ(ReadFileText(m_folder / "own-target.element"), Run({"new"}).out);

    ASSERT_EQ(chown(m_shared.c_str(), OrdinaryUserId(), static_cast<gid_t>(-1)), 0);
    const fs::path owners =
        Link("owners.element", m_folder / "owners-target.element", OrdinaryUserId());
    EXPECT_EQ(Run({"new", "-o", owners.string()}).status, 0);
    EXPECT_TRUE(fs::exists(m_folder / "owners-target.element"));
}

TEST_F(SharedFolderSave, RootDoesNotReplaceAnotherUsersFileThere) {
    const fs::path planted = m_shared / "x.element";
    WriteFileText(planted, "theirs\n");
    ASSERT_EQ(chown(planted.c_str(), OrdinaryUserId(), OrdinaryGroupId()), 0);
    const ProgramOutcome outcome = Run({"new", "-o", planted.string()});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_TRUE(Holds(outcome.err, "another user's file")) << outcome.err;
    EXPECT_EQ(ReadFileText(planted), "theirs\n");
}

// A link in an ordinary folder is the user's to make, whoever owns it.
TEST_F(SharedFolderSave, LinksOfOthersInOrdinaryFoldersAreFollowed) {
    const fs::path link = m_folder / "link.element";
    fs::create_symlink("target.element", link);
    ASSERT_EQ(lchown(link.c_str(), OrdinaryUserId(), static_cast<gid_t>(-1)), 0);
    EXPECT_EQ(Run({"new", "-o", link.string()}).status, 0);
    EXPECT_TRUE(fs::exists(m_folder / "target.element"));
}

}  // namespace
