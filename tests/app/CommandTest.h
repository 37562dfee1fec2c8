// A fixture for tests that run the built program in a scratch folder of their own.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "RunProgram.h"
#include "tests/support/BuiltFiles.h"
#include "tests/support/ScratchFolder.h"

class CommandTest : public ::testing::Test {
  protected:
    // Without a script the editor opens a window; these tests must never wait for a person.
    void SetUp() override { unsetenv("DISPLAY"); }

    ProgramOutcome Run(const std::vector<std::string>& args, const std::string& input = "") {
        return RunProgram(BuiltProgramPath(), args, input, m_folder);
    }

    // Writes text to name in the scratch folder; its full path.
    std::string Write(const std::string& name, const std::string& text) {
        return m_scratch.Write(name, text);
    }

    static std::string Example(const std::string& name) { return SourcePath("examples/" + name); }

    std::string Read(const std::string& name) const { return m_scratch.Read(name); }
    std::string PathOf(const std::string& name) const { return m_scratch.PathOf(name); }

    // The files in the scratch folder, to see that nothing was left behind.
    std::vector<std::string> FolderContent() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

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

    ScratchFolder m_scratch{"vantrel-command"};
    const std::filesystem::path m_folder = m_scratch.Path();
};
