#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "CommandTest.h"
#include "tests/support/TestProject.h"

namespace {

using Json = nlohmann::json;

// X and Y on the tests' standard drive, X limited to 100 mm/s and 25 mm of travel.
std::string LimitedProject(const std::string& controller = "") {
    return controller + "[[slave]]\ndrive = \"x\"\n[[slave]]\ndrive = \"y\"\n" +
           TestDrive{}.Table("x") + "max_speed = 100\ntravel_min = -1\ntravel_max = 25\n" +
           TestDrive{}.Table("y");
}

// Three 10 mm moves along X: the second speeds up toward 0.2 m/s.
const char* const kFastElement =
    "ProfileType=0\nSlaveX=0\nSlaveY=1\nX_TPOS[mm]=10 10 10\nY_TPOS[mm]=0 0 0\n"
    "CACC[m/s^2]=1 0 0\nCSPD[m/s]=0.05 0.2 0.05\nExecute=0\n";

class LimitsCommand : public CommandTest {};

TEST_F(LimitsCommand, OverrunsAreListedBySegmentAndTheCheckFails) {
    const std::string project = Write("limits.toml", LimitedProject());
    const std::string element = Write("fast.element", kFastElement);
    const ProgramOutcome outcome = Run({"check", element, "-p", project, "--limits"});
    EXPECT_EQ(outcome.status, 1) << outcome.err;
    EXPECT_NE(outcome.out.find("segment 1: X speed "), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find(" m/s over its limit 0.1 m/s\n"), std::string::npos);
    EXPECT_NE(outcome.out.find("segment 2: X at 30 mm, 5 mm above its travel_max 25 mm\n"),
              std::string::npos)
        << outcome.out;
    EXPECT_EQ(outcome.out.find("segment 0:"), std::string::npos) << outcome.out;
}

TEST_F(LimitsCommand, TheGivenStartMovesTheEnvelopeAndJsonGivesTheSameFindings) {
    const std::string project = Write("limits.toml", LimitedProject());
    const std::string element = Write("fast.element", kFastElement);
    const ProgramOutcome outcome =
        Run({"check", element, "-p", project, "--limits", "--from", "-10,0", "--json"});
    EXPECT_EQ(outcome.status, 1) << outcome.err;
    const Json report = Json::parse(outcome.out);
    EXPECT_EQ(report["valid"], true);
    const Json& findings = report["limits"]["findings"];
    ASSERT_FALSE(findings.empty());
    for (const Json& finding : findings) {
        EXPECT_EQ(finding["kind"], "speed");
        EXPECT_EQ(finding["axis"], "X");
        EXPECT_EQ(finding["limit"], 0.1);
        EXPECT_EQ(finding["unit"], "m/s");
        EXPECT_GT(finding["value"].get<double>(), 0.1);
    }
    EXPECT_EQ(report["limits"]["count"], findings.size());
}

TEST_F(LimitsCommand, ShortSegmentsAtTheirSpeedAreFoundAgainstTheControllersMinimum) {
    const std::string project =
        Write("limits.toml", LimitedProject("[controller]\nmin_segment_time = 0.05\n"));
    const std::string element =
        Write("short.element",
              "ProfileType=0\nSlaveX=0\nSlaveY=1\nX_TPOS[mm]=1 0\nY_TPOS[mm]=0 1\n"
              "CACC[m/s^2]=1 0\nCSPD[m/s]=0.01 0.1\nExecute=0\n");
    const ProgramOutcome outcome = Run({"check", element, "-p", project, "--limits"});
    EXPECT_EQ(outcome.status, 1) << outcome.err;
    EXPECT_EQ(outcome.out,
              "segment 1: takes 0.01 s at 0.1 m/s, shorter than min_segment_time 0.05 s\n"
              "limits: 1 over their limits\n");
}

TEST_F(LimitsCommand, APathWithinItsLimitsPassesAndStatsWarnsOfOverruns) {
    const std::string project = Write("limits.toml", LimitedProject());
    const std::string slow =
        Write("slow.element",
              "ProfileType=0\nSlaveX=0\nSlaveY=1\nX_TPOS[mm]=10\nY_TPOS[mm]=0\nCACC[m/s^2]=1\n"
              "CSPD[m/s]=0.05\nExecute=0\n");
    const ProgramOutcome passed = Run({"check", slow, "-p", project, "--limits"});
    EXPECT_EQ(passed.status, 0) << passed.out << passed.err;
    EXPECT_EQ(passed.out, "limits: nothing over its limit\n");

    const std::string fast = Write("fast.element", kFastElement);
    const ProgramOutcome stats = Run({"stats", fast, "-p", project});
    EXPECT_EQ(stats.status, 0) << stats.err;
    EXPECT_NE(stats.out.find("  X above its travel_max 25 mm (up to 30 mm): segment 2\n"),
              std::string::npos)
        << stats.out;
}

TEST_F(LimitsCommand, ARefusedElementIsNotCheckedAgainstLimits) {
    const std::string project = Write("limits.toml", LimitedProject());
    const std::string element = Write("bad.element", "ProfileType=7\n");
    const ProgramOutcome outcome = Run({"check", element, "-p", project, "--limits"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out.find("limits:"), std::string::npos);
}

}  // namespace
