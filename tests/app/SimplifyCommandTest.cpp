#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <numbers>
#include <regex>
#include <string>

#include "CommandTest.h"
#include "tests/support/TestProject.h"

namespace {

using Json = nlohmann::json;

std::string TwoAxisProject() {
    return "[[slave]]\ndrive = \"x\"\n[[slave]]\ndrive = \"y\"\n" + TestDrive{}.Table("x") +
           TestDrive{}.Table("y");
}

// A circle of radius 10 mm in 2000 chords whose ends lie on counts (0.0025 mm).
std::string DenseCircleElement() {
    std::string x, y, acceleration = "1", speed = "0.05";
    long previousX = std::lround(10.0 / 0.0025), previousY = 0;
    for (int i = 1; i <= 2000; ++i) {
        const double angle = 2.0 * std::numbers::pi * i / 2000;
        const long px = std::lround(10.0 * std::cos(angle) / 0.0025);
        const long py = std::lround(10.0 * std::sin(angle) / 0.0025);
        x += (i > 1 ? " " : "") + std::to_string(static_cast<double>(px - previousX) * 0.0025);
        y += (i > 1 ? " " : "") + std::to_string(static_cast<double>(py - previousY) * 0.0025);
        if (i > 1) acceleration += " 0";
        if (i > 1) speed += " 0";
        previousX = px;
        previousY = py;
    }
    return "ProfileType=0\nSlaveX=0\nSlaveY=1\nX_TPOS[mm]=" + x + "\nY_TPOS[mm]=" + y +
           "\nCACC[m/s^2]=" + acceleration + "\nCSPD[m/s]=" + speed + "\nExecute=0\n";
}

class SimplifyCommand : public CommandTest {
  protected:
    Json Stats(const std::string& element, const std::string& project) {
        const ProgramOutcome outcome = Run({"stats", element, "-p", project, "--json"});
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        return Json::parse(outcome.out);
    }
};

TEST_F(SimplifyCommand, ADenseCircleLosesSegmentsAndKeepsItsEndInCounts) {
    const std::string project = Write("xy.toml", TwoAxisProject());
    const std::string element = Write("circle.element", DenseCircleElement());
    const std::string output = PathOf("simple.element");
    const ProgramOutcome outcome =
        Run({"simplify", element, "-p", project, "-o", output, "--tolerance", "0.01mm"});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    std::smatch match;
    ASSERT_TRUE(std::regex_search(outcome.out, match,
                                  std::regex(R"(segments: 2000 -> (\d+)\nlargest deviation: )"
                                             R"(([0-9.e-]+) mm \(tolerance 0.01 mm\)\n)"
                                             R"(estimated duration: [0-9.]+ s -> [0-9.]+ s\n)")))
        << outcome.out;
    EXPECT_LT(std::stoi(match[1]), 500);
    EXPECT_LE(std::stod(match[2]), 0.01);
    const Json before = Stats(element, project);
    const Json after = Stats(output, project);
    EXPECT_EQ(after["segments"], std::stoi(match[1]));
    EXPECT_EQ(after["axes"]["X"]["end_counts"], before["axes"]["X"]["end_counts"]);
    EXPECT_EQ(after["axes"]["Y"]["end_counts"], before["axes"]["Y"]["end_counts"]);
}

TEST_F(SimplifyCommand, ABadToleranceIsAUsageErrorAndWritesNothing) {
    const std::string project = Write("xy.toml", TwoAxisProject());
    const std::string element = Write("circle.element", DenseCircleElement());
    for (const char* tolerance : {"0", "-1mm", "0.01 kg", "wide"}) {
        const ProgramOutcome outcome = Run({"simplify", element, "-p", project, "-o",
                                            PathOf("simple.element"), "--tolerance", tolerance});
        EXPECT_EQ(outcome.status, 2) << tolerance << ": " << outcome.err;
        EXPECT_NE(outcome.err.find("--tolerance"), std::string::npos) << outcome.err;
    }
    EXPECT_EQ(FolderContent(), (std::vector<std::string>{"circle.element", "xy.toml"}));
}

}  // namespace
