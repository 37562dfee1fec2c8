#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "CommandTest.h"
#include "app/cli/AppError.h"
#include "app/commands/CommandSupport.h"

namespace {

const char* const kProgram =
    "%\n(pocket)\nG21 G90 G17\nG0 Z5\nG1 X10 Y10 F1200 M3\nG3 X20 Y10 R5\nG1 Z0\n%\n";

class ImportCommand : public CommandTest {
  protected:
    std::string Linear() const { return Example("linear3.toml"); }
};

TEST_F(ImportCommand, MakesAnElementTheModuleTranslatesAndSummarisesOnStandardError) {
    const ProgramOutcome outcome =
        Run({"import", Write("part.nc", kProgram), "-p", Linear(), "-o", PathOf("part.element")});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "");
    const std::regex summary(
        "vantrel: warning: .*part.nc:4: 1 G0 moves run at the current feed; give --rapid SPEED "
        "for a speed of their own\n"
        "vantrel: warning: .*part.nc:4: moves before the first F keep the speed the controller "
        "has\n"
        "vantrel: warning: .*part.nc: the file sets no acceleration, so the element has none and "
        "its duration cannot be estimated; give --accel VALUE \\(such as --accel 0.5m/s\\^2\\)\n"
        "vantrel: .*part.nc: 8 lines read, 2[0-9] segments made, 1 arcs split into 2[0-9] "
        "chords, 1 words ignored, 3 warnings, 0 moves under a count joined, [0-9.]+ s\n");
    EXPECT_TRUE(std::regex_match(outcome.err, summary)) << outcome.err;
    const std::string element = Read("part.element");
    EXPECT_NE(element.find("\nX_TPOS[mm]=0 10 "), std::string::npos) << element;
    EXPECT_NE(element.find("\nCSPD[m/s]=0 0.02 0"), std::string::npos) << element;
    EXPECT_NE(PositionLines(PathOf("part.element"), Linear()).find("LPOS1 0L, 0L, 5120L;"),
              std::string::npos);
}

TEST_F(ImportCommand, RefusalsNameTheLineExit2AndLeaveTheElementAlone) {
    const std::string element = Write("kept.element", "unchanged\n");
    // A G-code word's place has its column too.
    const struct {
        const char* name;
        const char* text;
        const char* place;
    } cases[] = {
        {"bad.nc", "G21\nG1 X1\nG28 X0\n", ":3:1: "},
        {"bad.csv", "x,y,z\n1,2,3\n1,2,three\n", ":3: "},
    };
    for (const auto& [name, text, place] : cases) {
        const ProgramOutcome outcome =
            Run({"import", Write(name, text), "-p", Linear(), "-o", element});
        EXPECT_EQ(outcome.status, 2) << name;
        EXPECT_NE(outcome.err.find(std::string(name) + place), std::string::npos) << outcome.err;
        EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1) << outcome.err;
        EXPECT_EQ(Read("kept.element"), "unchanged\n");
    }
}

// A short program of full circles makes millions of chords: the bound stops it at the line
// that crosses it, and --max-segments moves the bound.
TEST_F(ImportCommand, MaxSegmentsBoundsWhatAnImportMakes) {
    const std::string element = Write("kept.element", "unchanged\n");
    const std::string program = Write("circles.nc", "G21 G90 G1 F600 X10\nG2 X10 Y0 I-10\n");
    const ProgramOutcome refused =
        Run({"import", program, "-p", Linear(), "-o", element, "--max-segments", "50"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("circles.nc:2:1: G2: the import would make more than 50 segments; "
                               "give --max-segments N to allow more"),
              std::string::npos)
        << refused.err;
    EXPECT_EQ(Read("kept.element"), "unchanged\n");
    EXPECT_EQ(
        Run({"import", program, "-p", Linear(), "-o", element, "--max-segments", "500"}).status, 0);
    for (const char* bad : {"0", "-1", "x", "1000000001"})
        EXPECT_EQ(Run({"import", program, "-o", element, "--max-segments", bad}).status, 2) << bad;
}

TEST_F(ImportCommand, AppendAddsTheSegmentsBehindTheElementsOwn) {
    const std::string project = Linear();
    const std::string element = Write("e.element", ReadFileText(Example("linear3.element")));
    const std::string before = PositionLines(element, project);
    const ProgramOutcome outcome = Run({"import", Write("more.csv", "x[mm],y[mm],z[mm]\n1,2,0\n"),
                                        "-p", project, "--append", element});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(PositionLines(element, project),
              before + "  LPOS1 1024L, 2048L, 0L; LPOS2 1024L, 2048L, 0L;\n");
}

// Two imports appending to one element at once: the one that finds the element changed since
// it read it writes nothing, so neither side's segments are lost without a word.
TEST_F(ImportCommand, AppendDoesNotOverwriteAnElementChangedMeanwhile) {
    const std::string element = Write("e.element", ReadFileText(Example("linear3.element")));
    const int notify = inotify_init1(IN_CLOEXEC);
    ASSERT_GE(notify, 0);
    ASSERT_GE(inotify_add_watch(notify, element.c_str(), IN_CLOSE_NOWRITE), 0);
    int ends[2];
    ASSERT_EQ(pipe2(ends, O_CLOEXEC), 0);
    // The segments come from a pipe, read after the element, so the change falls in between.
    StartedProgram import(
        {BuiltProgramPath(), "import", "-", "--format", "csv", "-p", Linear(), "--append", element},
        "", m_folder, {.input = ends[0]});
    close(ends[0]);
    pollfd closed{notify, POLLIN, 0};
    EXPECT_EQ(poll(&closed, 1, 30000), 1) << "the import never read the element";
    close(notify);
    WriteFileText(element, "someone else's\n");
    const std::string rows = "x[mm],y[mm],z[mm]\n1,2,0\n";
    EXPECT_EQ(write(ends[1], rows.data(), rows.size()), static_cast<ssize_t>(rows.size()));
    close(ends[1]);
    const ProgramOutcome outcome = import.Finish();
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.err.find("changed on disk"), std::string::npos) << outcome.err;
    EXPECT_EQ(ReadFileText(element), "someone else's\n");
}

// An element no command would read back (beyond the read limit) is not written.
TEST_F(ImportCommand, AnElementBeyondTheReadLimitIsNotWritten) {
    const std::string element = Write("e.element", "old\n");
    try {
        WriteElementOutput(element, "0123456789", 8);
        ADD_FAILURE() << "an element beyond the limit was written";
    } catch (const AppError& error) {
        EXPECT_NE(std::string(error.what()).find("10 bytes, more than the 8 bytes"),
                  std::string::npos)
            << error.what();
    }
    EXPECT_EQ(Read("e.element"), "old\n");
    WriteElementOutput(element, "01234567", 8);
    EXPECT_EQ(Read("e.element"), "01234567");
}

// --ignore was passed over for a CSV table, so a user could believe it had acted.
TEST_F(ImportCommand, IgnoredWordsForACsvTableAreRefusedAndNothingIsWritten) {
    const ProgramOutcome outcome =
        Run({"import", Write("a.csv", "1 2 3\n"), "--ignore", "G43", "-o", PathOf("a.element")});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.err.find("--ignore: it leaves out G-code words, and "), std::string::npos)
        << outcome.err;
    EXPECT_FALSE(std::filesystem::exists(PathOf("a.element")));
}

TEST_F(ImportCommand, FormatComesFromTheNameOrTheOption) {
    const std::string csv = "1 2 3\n";
    EXPECT_EQ(Run({"import", Write("a.CSV", csv)}).status, 0);
    EXPECT_EQ(Run({"import", "-", "--format", "csv"}, csv).status, 0);
    const ProgramOutcome unknown = Run({"import", Write("a.dat", csv)});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("a.dat: the format is not known from the name; give --format "
                               "gcode or csv"),
              std::string::npos);
    EXPECT_EQ(Run({"import", PathOf("a.dat"), "--format", "csv"}).status, 0);
}

TEST_F(ImportCommand, TwoAxisElementsRefuseZWords) {
    const ProgramOutcome flat = Run({"import", Write("flat.nc", "G1 X1 Y2\n"), "--profile", "2d"});
    EXPECT_EQ(flat.status, 0) << flat.err;
    EXPECT_NE(flat.out.find("ProfileType=0\n"), std::string::npos);
    EXPECT_EQ(flat.out.find("Z_TPOS"), std::string::npos);
    const ProgramOutcome z = Run({"import", Write("z.nc", "G1 X1 Z2\n"), "--profile", "2d"});
    EXPECT_EQ(z.status, 2);
    EXPECT_NE(z.err.find("z.nc:1:7: Z2: a 2D element has no Z axis"), std::string::npos);
}

TEST_F(ImportCommand, RotaryAxesTakeTablesButNotGcode) {
    const std::string rotary = Example("rotary2.toml");
    const ProgramOutcome table = Run({"import", Write("t.csv", "x[deg],y[deg]\n90,45\n"), "-p",
                                      rotary, "-o", PathOf("t.element")});
    EXPECT_EQ(table.status, 0) << table.err;
    EXPECT_NE(Read("t.element").find("\nX_TPOS[rot]=0.25\n"), std::string::npos);
    const ProgramOutcome gcode = Run({"import", Write("t.nc", "G1 X1\n"), "-p", rotary});
    EXPECT_EQ(gcode.status, 2);
    EXPECT_NE(gcode.err.find("the element's axes are rotary"), std::string::npos);
}

TEST_F(ImportCommand, OptionsTakeUnits) {
    const ProgramOutcome outcome =
        Run({"import", Write("u.nc", "G20 G0 X1\nG2 X2 I0.5 F10\n"), "--rapid", "100mm/s",
             "--tolerance", "0.0001in", "--accel", "500mm/s^2"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("\nCSPD[m/s]=0.1 0.00423"), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("\nCACC[m/s^2]=0.5 0 "), std::string::npos) << outcome.out;
    const ProgramOutcome bad = Run({"import", PathOf("u.nc"), "--rapid", "fast"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err,
              "vantrel: --rapid: \"fast\" is not a number; give a number above 0, with or without "
              "a unit (such as 6000mm/min)\n");
    const ProgramOutcome zero = Run({"import", PathOf("u.nc"), "--accel", "0"});
    EXPECT_EQ(zero.status, 2);
    EXPECT_NE(zero.err.find("\"0\" is out of range; give a number above 0"), std::string::npos);
}

std::string Post(const std::string& name) { return SourcePath("tests/app/posts/" + name); }

// Lines of text that contain part, in order.
std::vector<std::string> LinesWith(const std::string& text, const std::string& part) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        if (line.find(part) != std::string::npos) lines.push_back(line);
    return lines;
}

TEST_F(ImportCommand, PostProcessorOutputIsRefusedOnlyForWhatChangesTheShapeAllInOnePass) {
    const std::string element = Write("kept.element", "unchanged\n");
    const ProgramOutcome outcome =
        Run({"import", Post("drill-cycle.nc"), "-p", Linear(), "-o", element});
    EXPECT_EQ(outcome.status, 2);
    const std::string file = Post("drill-cycle.nc");
    EXPECT_EQ(LinesWith(outcome.err, "vantrel: "),
              (std::vector<std::string>{
                  "vantrel: " + file +
                      ":7:1: G43: tool length compensation (H3) moves Z by a length the file "
                      "does not give; give --ignore G43 when Z is programmed for the tool's tip",
                  "vantrel: " + file + ":9:1: G81: canned cycles are not supported",
                  "vantrel: " + file + ":12:1: G41: cutter compensation is not supported",
                  "vantrel: " + file +
                      ":14:1: G55: work offsets other than G54 are not supported (the path is "
                      "read from the program's zero point)",
                  "vantrel: " + file +
                      ":16:1: G28: returning to the home position moves the machine off the "
                      "path; give --ignore G28 when it only ends the program"}));
    EXPECT_EQ(Read("kept.element"), "unchanged\n");
}

TEST_F(ImportCommand, IgnoredWordsAndHarmlessOnesAreLeftOutWithWarningsCountedInTheSummary) {
    const ProgramOutcome refused = Run({"import", Post("pocket-mill.nc"), "-p", Linear()});
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(LinesWith(refused.err, "vantrel: ").size(), 2u) << refused.err;  // G43 H1, G28 Z0

    const ProgramOutcome outcome =
        Run({"import", Post("pocket-mill.nc"), "-p", Linear(), "--ignore", "g43, G28", "--accel",
             "0.5", "--rapid", "6000", "-o", PathOf("pocket.element")});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    const std::vector<std::string> warnings = LinesWith(outcome.err, "vantrel: warning: ");
    for (const char* word : {":5: G49:", ":5: G40:", ":5: G80:", ":6: G54:", ":9: G43:",
                             ":13: G64:", ":18: /:", ":20: G4:", ":23: G28:"}) {
        EXPECT_EQ(LinesWith(outcome.err, word).size(), 1u) << word << "\n" << outcome.err;
    }
    EXPECT_NE(outcome.err.find(" " + std::to_string(warnings.size()) + " warnings, "),
              std::string::npos)
        << outcome.err;
    EXPECT_NE(outcome.err.find(":20: G4: the element cannot dwell; the dwell is left out"),
              std::string::npos);
    // The path is the pocket's: Z ends where G28 would have left it, 15 mm up.
    const ProgramOutcome stats = Run({"stats", PathOf("pocket.element"), "-p", Linear(), "--json"});
    const auto json = nlohmann::json::parse(stats.out);
    EXPECT_NEAR(json["axes"]["Z"]["end"].get<double>(), 15.0, 1e-9);
    EXPECT_NEAR(json["axes"]["X"]["max"].get<double>(), 20.0, 1e-9);
    EXPECT_FALSE(json["duration_s"].is_null());

    const ProgramOutcome inch = Run({"import", Post("profile-inch.tap"), "-p", Linear(), "--ignore",
                                     "G43,G28,A", "--accel", "0.5"});
    EXPECT_EQ(inch.status, 0) << inch.err;
    const ProgramOutcome badIgnore = Run({"import", Post("pocket-mill.nc"), "--ignore", "G1"});
    EXPECT_EQ(badIgnore.status, 2);
    EXPECT_EQ(badIgnore.err,
              "vantrel: --ignore: \"G1\" is followed by the import; it cannot be ignored\n");
}

TEST_F(ImportCommand, TablesTakeFeedsPerMinuteAndGcIsGcode) {
    for (const char* header : {"x,y,speed[mm/min]", "x,y,F", "x,y,feed"}) {
        const ProgramOutcome outcome =
            Run({"import", Write("t.csv", std::string(header) + "\n10,0,600\n"), "-p", Linear(),
                 "--profile", "2d"});
        EXPECT_EQ(outcome.status, 0) << header << outcome.err;
        EXPECT_NE(outcome.out.find("\nCSPD[m/s]=0.01\n"), std::string::npos)
            << header << outcome.out;
    }
    const ProgramOutcome inch =
        Run({"import", Write("i.csv", "x[in],y[in],speed[in/min]\n1,0,60\n"), "-p", Linear(),
             "--profile", "2d"});
    EXPECT_NE(inch.out.find("\nCSPD[m/s]=0.0254\n"), std::string::npos) << inch.out << inch.err;
    const ProgramOutcome gc = Run({"import", Write("p.gc", "G21 G1 X1 F60\n"), "-p", Linear()});
    EXPECT_EQ(gc.status, 0) << gc.err;
}

}  // namespace
