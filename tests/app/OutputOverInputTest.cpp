// An output file that is one of the command's inputs is refused before anything is read or
// written: replacing it would destroy what the command reads.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CliFixture.h"

namespace {

namespace fs = std::filesystem;

class OutputOverInput : public Cli {
  protected:
    void SetUp() override {
        Cli::SetUp();
        m_project = Write("p.toml", ReadFileText(Example("linear3.toml")));
        m_element = Write("e.element", ReadFileText(Example("linear3.element")));
        m_csv = Write("f.csv", "x[mm],y[mm],z[mm]\n1,2,0\n");
    }

    // The command exits 2 with one line naming the input, and every file keeps its text.
    void ExpectRefused(const std::vector<std::string>& args, const std::string& input) {
        const std::string project = ReadFileText(m_project);
        const std::string element = ReadFileText(m_element);
        const std::string csv = ReadFileText(m_csv);
        const ProgramOutcome outcome = Run(args);
        EXPECT_EQ(outcome.status, 2) << args[0];
        EXPECT_TRUE(IsOneLine(outcome.err)) << outcome.err;
        EXPECT_NE(outcome.err.find("is the same file as the input " + input), std::string::npos)
            << outcome.err;
        EXPECT_EQ(ReadFileText(m_project), project);
        EXPECT_EQ(ReadFileText(m_element), element);
        EXPECT_EQ(ReadFileText(m_csv), csv);
    }

    std::string m_project;
    std::string m_element;
    std::string m_csv;
};

TEST_F(OutputOverInput, EveryWritingCommandRefusesItsElementAsOutput) {
    const std::string& e = m_element;
    ExpectRefused({"translate", e, "-p", m_project, "-o", e}, e);
    ExpectRefused({"plot", e, "-p", m_project, "-o", e}, e);
    ExpectRefused({"export", e, "-p", m_project, "--format", "csv", "-o", e}, e);
}

TEST_F(OutputOverInput, TheProjectAndTheImportedFileAreInputsToo) {
    ExpectRefused({"new", "-p", m_project, "-o", m_project}, m_project);
    ExpectRefused({"translate", m_element, "-p", m_project, "-o", m_project}, m_project);
    ExpectRefused({"import", m_csv, "-p", m_project, "-o", m_csv}, m_csv);
    ExpectRefused({"import", m_csv, "-p", m_project, "--append", m_project}, m_project);
    ExpectRefused({"import", m_element, "--format", "csv", "-p", m_project, "--append", m_element},
                  m_element);
    ExpectRefused({"edit", m_project, "-p", m_project, "--script", Write("s.txt", "ok\n")},
                  m_project);
}

TEST_F(OutputOverInput, LinksAndHardLinksToAnInputAreTheSameFile) {
    const fs::path hard = m_folder / "hard.element";
    fs::create_hard_link(m_element, hard);
    const fs::path soft = m_folder / "soft.svg";
    fs::create_symlink("e.element", soft);
    ExpectRefused({"translate", m_element, "-p", m_project, "-o", hard.string()}, m_element);
    ExpectRefused({"plot", m_element, "-p", m_project, "-o", soft.string()}, m_element);
    EXPECT_TRUE(fs::is_symlink(soft));
}

TEST_F(OutputOverInput, AnotherFileAndStandardOutputAreWritten) {
    EXPECT_EQ(Run({"translate", m_element, "-p", m_project, "-o", PathOf("out.txt")}).status, 0);
    EXPECT_EQ(Run({"plot", m_element, "-p", m_project, "-o", "-"}).status, 0);
    EXPECT_EQ(Run({"import", m_csv, "-p", m_project, "--append", m_element}).status, 0);
}

}  // namespace
