#include <gtest/gtest.h>

#include <string>

#include "CommandTest.h"

namespace {

using ExportCommand = CommandTest;

TEST_F(ExportCommand, ImportingAnExportGivesBackTheSameCounts) {
    const std::string project = Example("linear3.toml");
    const std::string element = Example("linear3.element");
    const std::string lines = PositionLines(element, project);
    for (const std::vector<std::string>& form :
         {std::vector<std::string>{"out.nc"}, {"out.csv"}, {"out.csv", "--absolute"}}) {
        std::vector<std::string> exportArgs = {"export", element, "-p",
                                               project,  "-o",    PathOf(form[0])};
        std::vector<std::string> importArgs = {"import", PathOf(form[0]),       "-p", project,
                                               "-o",     PathOf("back.element")};
        if (form.size() > 1) exportArgs.push_back(form[1]), importArgs.push_back(form[1]);
        ASSERT_EQ(Run(exportArgs).status, 0) << form[0];
        const ProgramOutcome back = Run(importArgs);
        ASSERT_EQ(back.status, 0) << back.err;
        EXPECT_EQ(PositionLines(PathOf("back.element"), project), lines) << form[0];
    }
}

TEST_F(ExportCommand, WritesAHeaderInTheColumnsUnitsOrG21AndFeeds) {
    const std::string project = Example("linear3.toml");
    const ProgramOutcome csv =
        Run({"export", Example("linear3.element"), "-p", project, "--format", "csv"});
    EXPECT_EQ(csv.out.substr(0, csv.out.find('\n')), "x[mm],y[mm],z[mm],accel[m/s^2],speed[m/s]");
    EXPECT_NE(csv.out.find("\n20,0,0,1,0.1\n"), std::string::npos) << csv.out;
    const ProgramOutcome gcode =
        Run({"export", Example("linear3.element"), "-p", project, "--format", "gcode"});
    EXPECT_NE(gcode.out.find("G21 G90\nG1 X20 F6000\nG1 Y15\n"), std::string::npos) << gcode.out;
}

TEST_F(ExportCommand, GcodeHasAFeedOnlyWhereTheSpeedChanges) {
    std::string text = ReadFileText(Example("linear3.element"));
    const std::string speeds = "CSPD[m/s]=0.1 0 0 0 0.02";
    text.replace(text.find(speeds), speeds.size(), "CSPD[m/s]=0.1 0.1 0 0 0.1");
    const ProgramOutcome gcode = Run({"export", Write("same.element", text), "-p",
                                      Example("linear3.toml"), "--format", "gcode"});
    EXPECT_EQ(gcode.status, 0) << gcode.err;
    EXPECT_NE(gcode.out.find("G21 G90\nG1 X20 F6000\nG1 Y15\nG1 X0\nG1 Y0\nG1 X5 Y5 Z-1.5\n"),
              std::string::npos)
        << gcode.out;
}

TEST_F(ExportCommand, RefusedElementsExit1AndElementsWithoutAFormExit2) {
    const ProgramOutcome refused =
        Run({"export", Write("bad.element", "ProfileType=1\n"), "--format", "csv"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("SlaveX"), std::string::npos);
    const ProgramOutcome rotary = Run({"export", Example("rotary2.element"), "-p",
                                       Example("rotary2.toml"), "-o", PathOf("r.nc")});
    EXPECT_EQ(rotary.status, 2);
    EXPECT_NE(rotary.err.find("has a G-code form"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(PathOf("r.nc")));
    EXPECT_EQ(Run({"export", Example("linear3.element")}).status, 2);
}

}  // namespace
