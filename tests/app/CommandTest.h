// A fixture for tests that run the built program in a scratch folder of their own.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "RunProgram.h"

class CommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vantrel-command-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    ProgramOutcome Run(const std::vector<std::string>& args, const std::string& input = "") {
        return RunProgram(VANTREL_EXE, args, input, m_folder);
    }

    // Writes text to name in the scratch folder; its full path.
    std::string Write(const std::string& name, const std::string& text) {
        WriteFileText(m_folder / name, text);
        return (m_folder / name).string();
    }

    static std::string Example(const std::string& name) {
        return std::string(VANTREL_EXAMPLES_DIR) + "/" + name;
    }

    std::string Read(const std::string& name) const { return ReadFileText(m_folder / name); }
    std::string PathOf(const std::string& name) const { return (m_folder / name).string(); }

    // The LPOS lines of the element's segments on the project (the end segment's all-zero line
    // left out), each ending in LF.
    std::string PositionLines(const std::string& element, const std::string& project) {
        const ProgramOutcome outcome = Run({"translate", element, "-p", project});
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        std::string lines;
        size_t start = 0;
        while ((start = outcome.out.find("  LPOS1 ", start)) != std::string::npos) {
            const size_t end = outcome.out.find("\r\n", start);
            const std::string line = outcome.out.substr(start, end - start);
            if (line.find("LPOS1 0L, 0L, 0L;") == std::string::npos) lines += line + "\n";
            start = end;
        }
        return lines;
    }

    std::filesystem::path m_folder;
};
