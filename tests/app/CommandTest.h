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

    std::filesystem::path m_folder;
};
