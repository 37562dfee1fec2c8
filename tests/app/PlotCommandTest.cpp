#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

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

// Projects at the edges of their ranges (the finest and the coarsest drive), with elements
// whose extent is 0 on an axis, whose counts sum far past one operand's range, and whose
// speeds lie at the ends of theirs: each is drawn with finite ticks.
TEST_F(PlotCommand, ElementsAtTheEdgesOfTheRangesHaveFiniteTicks) {
    const std::string drives[] = {
        "counts_per_rev = 2147483648\ntravel_per_rev = 0.000001\nsample_time = 0.000001\n",
        "counts_per_rev = 1\ntravel_per_rev = 1000000\nsample_time = 1\n"};
    const std::string elements[] = {
        "X_TPOS[]=1 -1\nY_TPOS[]=0 0\nCACC[]=0.0000153 0\nCSPD[]=0.0000153 0\n",
        "X_TPOS[]=2147483647 2147483647 2147483647\nY_TPOS[]=-2147483648 -2147483648 "
        "-2147483648\nCACC[]=32767.99998 0 0\nCSPD[]=32767.99998 0 0\n"};
    for (const std::string& drive : drives) {
        const std::string project =
            Write("p.toml",
                  "[[slave]]\ndrive = \"x\"\n[[slave]]\ndrive = \"x\"\n[drive.x]\n"
                  "position_unit = \"mm\"\n" +
                      drive);
        for (const std::string& columns : elements) {
            const std::string element =
                Write("e.element", "ProfileType=0\nSlaveX=0\nSlaveY=1\n" + columns + "Execute=0\n");
            const std::string output = PathOf("e.svg");
            const ProgramOutcome outcome =
                Run({"plot", element, "-p", project, "-o", output, "--profile"});
            ASSERT_EQ(outcome.status, 0) << drive << columns << outcome.err;
            const std::string svg = ReadFileText(output);
            EXPECT_TRUE(IsSvg(svg));
            EXPECT_EQ(svg.find("nan"), std::string::npos) << svg;
            EXPECT_EQ(svg.find("inf"), std::string::npos) << svg;
            EXPECT_NE(svg.find(">speed over time<"), std::string::npos);
        }
    }
}

TEST_F(PlotCommand, ASpeedBeyondWhatTheControllerHoldsIsRefused) {
    const std::string output = PathOf("fast.svg");
    const ProgramOutcome outcome = Run({"plot", Example("linear3.element"), "-p",
                                        Example("linear3.toml"), "-o", output, "--speed", "1e308"});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.err.find("vantrel: --speed: "), std::string::npos) << outcome.err;
    EXPECT_FALSE(std::filesystem::exists(output));
}

bool IsPng(const std::string& bytes) { return bytes.rfind("\x89PNG\r\n\x1a\n", 0) == 0; }

// The width and height in a PNG's header.
std::pair<int, int> PngSize(const std::string& bytes) {
    const auto word = [&](std::size_t at) {
        int value = 0;
        for (std::size_t i = 0; i < 4; ++i)
            value = value * 256 + static_cast<unsigned char>(bytes.at(at + i));
        return value;
    };
    return {word(16), word(20)};
}

TEST_F(PlotCommand, PngNameWritesAPngOfTheSizeAskedFor) {
    const std::string output = PathOf("linear3.PNG");
    const ProgramOutcome outcome =
        Run({"plot", Example("linear3.element"), "-p", Example("linear3.toml"), "-o", output,
             "--size", "800x640"});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const std::string png = ReadFileText(output);
    EXPECT_TRUE(IsPng(png));
    EXPECT_EQ(PngSize(png), std::make_pair(800, 640));
}

TEST_F(PlotCommand, StandardOutputIsSvgUnlessFormatSaysPng) {
    const std::vector<std::string> plot{
        "plot", Example("rotary2.element"), "-p", Example("rotary2.toml"), "-o", "-"};
    EXPECT_TRUE(IsSvg(Run(plot).out));
    std::vector<std::string> png = plot;
    png.insert(png.end(), {"--format", "png"});
    const ProgramOutcome outcome = Run(png);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_TRUE(IsPng(outcome.out));
}

TEST_F(PlotCommand, FormatThatCannotBeToldOrDisagreesIsRefusedAndNothingWritten) {
    const std::string element = Example("linear3.element");
    const std::string project = Example("linear3.toml");
    const std::string unknown = PathOf("linear3.jpg");
    ProgramOutcome outcome = Run({"plot", element, "-p", project, "-o", unknown});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.err.find("name a .svg or .png file, or give --format svg or png"),
              std::string::npos)
        << outcome.err;
    EXPECT_FALSE(std::filesystem::exists(unknown));
    const std::string svg = PathOf("linear3.svg");
    outcome = Run({"plot", element, "-p", project, "-o", svg, "--format", "png"});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_FALSE(std::filesystem::exists(svg));
    EXPECT_EQ(Run({"plot", element, "-p", project, "-o", unknown, "--format", "png"}).status, 0);
    EXPECT_TRUE(IsPng(ReadFileText(unknown)));
}

TEST_F(PlotCommand, SizesOutsideTheRangeOrMalformedAreRefusedWithTheRange) {
    const std::string output = PathOf("x.png");
    for (const char* size : {"599x600", "600x4097", "800", "x600", "800x", "-800x600", "8e2x600",
                             "800X600", "800x600x2", ""}) {
        const ProgramOutcome outcome = Run({"plot", Example("linear3.element"), "-p",
                                            Example("linear3.toml"), "-o", output, "--size", size});
        EXPECT_EQ(outcome.status, 2) << size;
        EXPECT_NE(outcome.err.find("WIDTHxHEIGHT, each a whole number from 600 to 4096"),
                  std::string::npos)
            << size << ": " << outcome.err;
    }
    EXPECT_FALSE(std::filesystem::exists(output));
}

TEST_F(PlotCommand, ViewNeedsItsAxesAndNamesAPlane) {
    const std::string output = PathOf("x.svg");
    const std::string element = Example("rotary2.element");
    const std::string project = Example("rotary2.toml");
    ProgramOutcome outcome = Run({"plot", element, "-p", project, "-o", output, "--view", "xz"});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.err.find("--view xz needs a Z axis"), std::string::npos) << outcome.err;
    EXPECT_EQ(Run({"plot", element, "-p", project, "-o", output, "--view", "iso"}).status, 2);
    EXPECT_FALSE(std::filesystem::exists(output));
    outcome = Run({"plot", Example("linear3.element"), "-p", Example("linear3.toml"), "-o", output,
                   "--view", "yz"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    const std::string svg = ReadFileText(output);
    EXPECT_NE(svg.find(">YZ<"), std::string::npos);
    EXPECT_EQ(svg.find(">XY<"), std::string::npos);
}

}  // namespace
