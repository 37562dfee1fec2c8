#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "CommandTest.h"

namespace {

class PlotCommand : public CommandTest {};

bool IsSvg(const std::string& text) {
    return text.rfind("<?xml", 0) == 0 && text.find("<svg ") != std::string::npos &&
           text.size() > 7 && text.substr(text.size() - 7) == "</svg>\n";
}

TEST_F(PlotCommand, WritesTheDrawingToTheFile) {
    const std::string output = (m_folder / "linear3.svg").string();
    const ProgramOutcome outcome = Run({"plot", Example("linear3.element"), "-p",
                                        Example("linear3.toml"), "-o", output, "--profile"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "");
    const std::string svg = ReadFileText(output);
    EXPECT_TRUE(IsSvg(svg));
    EXPECT_NE(svg.find("5 segments, path length 77.2284 mm, estimated duration 0.9223 s"),
              std::string::npos);
    EXPECT_NE(svg.find(">speed over time<"), std::string::npos);
}

TEST_F(PlotCommand, DashWritesToStandardOutput) {
    const ProgramOutcome outcome =
        Run({"plot", Example("rotary2.element"), "-p", Example("rotary2.toml"), "-o", "-"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_TRUE(IsSvg(outcome.out));
    EXPECT_NE(outcome.out.find("X [deg]"), std::string::npos);
}

TEST_F(PlotCommand, RefusedElementWritesNothing) {
    const std::string element = Write("bad.element", "ProfileType=0\nSlaveX=0\nSlaveY=0\n");
    const std::string output = (m_folder / "bad.svg").string();
    const ProgramOutcome translate = Run({"translate", element});
    const ProgramOutcome outcome = Run({"plot", element, "-o", output});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, translate.err);
    EXPECT_FALSE(std::filesystem::exists(output));
}

TEST_F(PlotCommand, OutputIsRequiredAndMustBeWritable) {
    const std::string element = Example("linear3.element");
    EXPECT_EQ(Run({"plot", element, "-p", Example("linear3.toml")}).status, 2);
    const ProgramOutcome outcome = Run({"plot", element, "-p", Example("linear3.toml"), "-o",
                                        (m_folder / "missing" / "x.svg").string()});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.err.rfind("vantrel: ", 0), 0u) << outcome.err;
}

}  // namespace
