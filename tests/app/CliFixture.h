// The command-line tests' fixture: the program in a scratch folder, the demo element.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "CommandTest.h"
#include "RunProgram.h"

// The built-in demo element, as a user would write it.
inline const char* const kDemoElement =
    "ProfileType=1\nConfigureMode=1\nClearBuffer=1\nInsertEndSegment=1\nSlaveX=0\nSlaveY=1\n"
    "SlaveZ=2\nX_TPOS[mm]=10 0 -10 0\nY_TPOS[mm]=0 10 0 -10\nZ_TPOS[mm]=2 0 -2 0\n"
    "CACC[m/s^2]=0.5 0 1 0\nCSPD[m/s]=0.05 0.1 0 0.05\nExecute=0\nWaitForCompletion=1\n";

inline bool IsOneLine(const std::string& text) {
    return !text.empty() && text.back() == '\n' && text.find('\n') == text.size() - 1;
}

class Cli : public CommandTest {
  protected:
    std::string NewElementFor(const std::string& project) {
        ProgramOutcome outcome = Run({"new", "-p", Write("p.toml", project)});
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        return outcome.out;
    }
};

// The demo element as a file in the scratch folder, for the editor to work on.
class CliEdit : public Cli {
  protected:
    void SetUp() override {
        Cli::SetUp();
        m_element = Write("element.txt", kDemoElement);
        m_before = ReadFileText(m_element);
    }

    ProgramOutcome Edit(const std::string& script) {
        return Run({"edit", m_element, "--script", Write("script.txt", script)});
    }

    std::string m_element;
    std::string m_before;
};
