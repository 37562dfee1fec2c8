#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "CommandTest.h"

namespace {

using Json = nlohmann::json;

const char* const kModuleMessage =
    "Illegal position increment values!\nSegments cannot have all increments equal to 0.\r\n";

// segments segments of 1 mm along X on the demo project, the one at zero standing still.
std::string ElementWithZeroSegment(int segments, int zero) {
    std::string x, rest;
    for (int i = 0; i < segments; ++i) {
        x += std::string(i ? " " : "") + (i == zero ? "0" : "1");
        rest += i ? " 0" : "0";
    }
    return "ProfileType=1\nSlaveX=0\nSlaveY=1\nSlaveZ=2\nX_TPOS[mm]=" + x + "\nY_TPOS[mm]=" + rest +
           "\nZ_TPOS[mm]=" + rest + "\nCACC[m/s^2]=" + rest + "\nCSPD[m/s]=" + rest +
           "\nExecute=0\n";
}

class LocatedProblems : public CommandTest {};

TEST_F(LocatedProblems, EveryCommandThatReadsTheElementNamesTheSegmentAfterTheModulesMessages) {
    const std::string element = Write("long.element", ElementWithZeroSegment(100000, 4123));
    const std::string expected = kModuleMessage + std::string("vantrel: ") + element +
                                 ": segment 4123: all increments are 0\n";
    const std::vector<std::vector<std::string>> commands = {
        {"check", element},
        {"translate", element},
        {"stats", element},
        {"plot", element, "-o", PathOf("p.svg")},
        {"export", element, "--format", "csv"}};
    for (const std::vector<std::string>& command : commands) {
        const ProgramOutcome outcome = Run(command);
        EXPECT_EQ(outcome.status, 1) << command[0];
        EXPECT_EQ(outcome.err, expected) << command[0];
        EXPECT_EQ(outcome.out, "") << command[0];
    }
}

// Held against the limits, a refused element shows only what the module says; the path is not
// checked.
TEST_F(LocatedProblems, CheckWithLimitsOfARefusedElementShowsTheModulesMessagesAlone) {
    const std::string element = Write("long.element", ElementWithZeroSegment(1000, 412));
    const ProgramOutcome outcome = Run({"check", element, "--limits"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, kModuleMessage);
}

TEST_F(LocatedProblems, ALongListIsCutShortOnStandardError) {
    std::string zeros;
    for (int i = 0; i < 25; ++i) zeros += i ? " 0" : "0";
    const ProgramOutcome outcome =
        Run({"check", "-"}, "ProfileType=0\nSlaveX=0\nSlaveY=1\nX_TPOS[mm]=" + zeros +
                                "\nY_TPOS[mm]=" + zeros + "\nCACC[m/s^2]=" + zeros +
                                "\nCSPD[m/s]=" + zeros + "\nExecute=0\n");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("standard input: segment 19: all increments are 0\n"),
              std::string::npos)
        << outcome.err;
    EXPECT_EQ(outcome.err.find("segment 20:"), std::string::npos);
    EXPECT_NE(outcome.err.find("standard input: and 5 more problems (vantrel check --json lists "
                               "them)\n"),
              std::string::npos);
}

TEST_F(LocatedProblems, CheckJsonHoldsTheMessagesAndTheProblems) {
    const ProgramOutcome outcome =
        Run({"check", "--json", "-"},
            "ProfileType=0\nSlaveX=0\nSlaveY=1\nX_TPOS[mm]=1 x 0\nY_TPOS[mm]=0 0 0\n"
            "CACC[m/s^2]=0 0 0\nCSPD[m/s]=0 0 0\nExecute=0\n");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "");
    const Json json = Json::parse(outcome.out);
    EXPECT_EQ(json["valid"], false);
    // X cannot be read, so the module finds no segments for the other columns' values either.
    ASSERT_EQ(json["messages"].size(), 3u);
    EXPECT_EQ(json["messages"][0], "Value 2 of entry \"X_TPOS\" is not a number: \"x\"!");
    EXPECT_EQ(json["messages"][1], "Invalid value of CACC!");
    ASSERT_EQ(json["problems"].size(), 3u);
    EXPECT_TRUE(json["problems"][1]["segment"].is_null());
    EXPECT_EQ(json["problems"][1]["entry"], "CACC");
    EXPECT_EQ(json["problems"][0]["segment"], 1);
    EXPECT_EQ(json["problems"][0]["entry"], "X_TPOS");
    EXPECT_EQ(json["problems"][0]["value"], "x");
    EXPECT_EQ(json["problems"][0]["text"], "segment 1: X_TPOS value \"x\" is not a number");
    EXPECT_EQ(json["problem_count"], 3);

    const ProgramOutcome valid =
        Run({"check", "--json", Example("linear3.element"), "-p", Example("linear3.toml")});
    EXPECT_EQ(valid.status, 0) << valid.err;
    EXPECT_EQ(Json::parse(valid.out),
              Json::parse(R"({"valid":true,"messages":[],"problems":[],"problem_count":0})"));
}

}  // namespace
