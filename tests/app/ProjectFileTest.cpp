#include <gtest/gtest.h>

#include <string>

#include "app/cli/AppError.h"
#include "app/project/ProjectFile.h"
#include "host/CMC_AxisData.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/TestProject.h"

namespace {

// Five lines: the refusals below count lines after it.
const std::string kDriveX = TestDrive{}.Table("x");

std::string RefusalOf(const std::string& text) {
    try {
        LoadProjectText(text, "test.toml");
    } catch (const AppError& error) {
        return error.what();
    }
    return "(accepted)";
}

std::string Prefix(int line, const std::string& key) {
    return "test.toml:" + std::to_string(line) + ": key \"" + key + "\": ";
}

struct Refusal {
    const char* what;
    std::string text;
    int line;
    const char* key;
};

void ExpectRefusals(const std::vector<Refusal>& refusals) {
    for (const Refusal& refusal : refusals) {
        std::string message = RefusalOf(refusal.text);
        std::string prefix = Prefix(refusal.line, refusal.key);
        EXPECT_EQ(message.substr(0, prefix.size()), prefix) << refusal.what << ": " << message;
        EXPECT_EQ(message.find('\n'), std::string::npos) << refusal.what;
    }
}

CMC_Setup* AxisSetupOf(Project& project, int slave) {
    CMC_AxisData* axis = project.Motion().GetMotionControllerSlaveAxis(slave);
    return axis == nullptr ? nullptr : axis->GetAxisSetup();
}

TEST(ProjectFileRefusal, BrokenTomlNamesItsLine) {
    EXPECT_EQ(RefusalOf("[controller\n").substr(0, 26), "test.toml:1: broken TOML: ");
    EXPECT_EQ(RefusalOf("[controller]\n\nvariables = = 1\n").substr(0, 26),
              "test.toml:3: broken TOML: ");
    EXPECT_EQ(RefusalOf("[[slave]]\naxis_id = 1\naxis_id = 2\n").substr(0, 13), "test.toml:3: ");
}

TEST(ProjectFileRefusal, UnknownKeysAndTablesAnywhere) {
    ExpectRefusals({
        {"top-level key", "\n\nmotor = 1\n", 3, "motor"},
        {"top-level table", "[motor]\nx = 1\n", 1, "motor"},
        {"controller key", "[controller]\nspeed = 2\n", 2, "controller.speed"},
        {"slave key", "[[slave]]\naxis = 1\n", 2, "slave.axis"},
        {"drive key", kDriveX + "gear = 3\n", 6, "drive.x.gear"},
        {"drive subtable", kDriveX + "[drive.x.extra]\n", 6, "drive.x.extra"},
    });
}

TEST(ProjectFileRefusal, WrongTypes) {
    ExpectRefusals({
        {"controller not a table", "controller = 5\n", 1, "controller"},
        {"motion_controller", "[controller]\nmotion_controller = 1\n", 2,
         "controller.motion_controller"},
        {"variables a string", "[controller]\nvariables = \"TPOS\"\n", 2, "controller.variables"},
        {"variables entry", "[controller]\nvariables = [\n \"CACC\",\n 5,\n]\n", 4,
         "controller.variables"},
        {"slave not tables", "slave = 3\n", 1, "slave"},
        {"axis_id float", "[[slave]]\naxis_id = 1.0\n", 2, "slave.axis_id"},
        {"axis_id string", "[[slave]]\naxis_id = \"1\"\n", 2, "slave.axis_id"},
        {"slave drive number", "[[slave]]\ndrive = 3\n", 2, "slave.drive"},
        {"drive not a table", "drive = 3\n", 1, "drive"},
        {"drive entry not a table", "[drive]\nx = 1\n", 2, "drive.x"},
        {"closed_position", kDriveX + "closed_position = \"yes\"\n", 6, "drive.x.closed_position"},
        {"position_unit", "[drive.x]\nposition_unit = 1\n", 2, "drive.x.position_unit"},
        {"counts_per_rev string", "[drive.x]\nposition_unit = \"mm\"\ncounts_per_rev = \"2000\"\n",
         3, "drive.x.counts_per_rev"},
    });
}

TEST(ProjectFileRefusal, ValuesOutOfRange) {
    std::string head = "[drive.x]\nposition_unit = \"mm\"\n";
    ExpectRefusals({
        {"axis_id 256", "[[slave]]\naxis_id = 256\n", 2, "slave.axis_id"},
        {"axis_id -1", "[[slave]]\n\naxis_id = -1\n", 3, "slave.axis_id"},
        {"counts 0", head + "counts_per_rev = 0\n", 3, "drive.x.counts_per_rev"},
        {"travel negative", head + "counts_per_rev = 1\ntravel_per_rev = -5\n", 4,
         "drive.x.travel_per_rev"},
        {"sample nan", head + "counts_per_rev = 1\ntravel_per_rev = 1\nsample_time = nan\n", 5,
         "drive.x.sample_time"},
        {"travel inf", head + "counts_per_rev = 1\ntravel_per_rev = inf\n", 4,
         "drive.x.travel_per_rev"},
    });
}

// A drive with these values, each given as its TOML text.
std::string DriveWith(const std::string& counts, const std::string& travel,
                      const std::string& sample) {
    return "[drive.x]\nposition_unit = \"mm\"\ncounts_per_rev = " + counts +
           "\ntravel_per_rev = " + travel + "\nsample_time = " + sample + "\n";
}

TEST(ProjectFileRefusal, DriveValuesBeyondARealDriveNameTheirLimits) {
    const std::string counts = "must be from 1 to 2147483648 (2^31)";
    const std::string travel = "must be from 0.000001 to 1000000 position units";
    const std::string sample = "must be from 0.000001 to 1 (seconds: 1 us to 1 s)";
    struct Case {
        std::string text;
        int line;
        const char* key;
        const std::string& problem;
    };
    const std::vector<Case> cases = {
        {DriveWith("9223372036854775807", "5", "0.001"), 3, "counts_per_rev", counts},
        {DriveWith("2147483649", "5", "0.001"), 3, "counts_per_rev", counts},
        {DriveWith("0.5", "5", "0.001"), 3, "counts_per_rev", counts},
        {DriveWith("2000", "1e-7", "0.001"), 4, "travel_per_rev", travel},
        {DriveWith("2000", "1e7", "0.001"), 4, "travel_per_rev", travel},
        {DriveWith("2000", "5", "1e-160"), 5, "sample_time", sample},
        {DriveWith("2000", "5", "9e-7"), 5, "sample_time", sample},
        {DriveWith("2000", "5", "1e300"), 5, "sample_time", sample},
        {DriveWith("2000", "5", "-inf"), 5, "sample_time", sample},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RefusalOf(c.text), Prefix(c.line, std::string("drive.x.") + c.key) + c.problem)
            << c.text;
    }
    for (const std::string& edge : {DriveWith("2147483648", "1e-6", "1e-6"),
                                    DriveWith("1", "1e6", "1"), DriveWith("1", "1e-6", "1")})
        EXPECT_EQ(RefusalOf(edge), "(accepted)") << edge;
}

TEST(ProjectFileRefusal, MoreThan255Slaves) {
    std::string text;
    for (int i = 0; i < 256; ++i) text += "[[slave]]\n";
    ExpectRefusals({{"256 slaves", text, 256, "slave"}});
    text.resize(text.size() - std::string("[[slave]]\n").size());
    EXPECT_EQ(RefusalOf(text), "(accepted)");
}

TEST(ProjectFileRefusal, FilesAboveSixteenMiBButNotAtIt) {
    const ScratchFolder folder("vantrel-project");
    std::string text = "[controller]\n#";
    text += std::string((std::size_t{16} << 20) - text.size() - 1, 'x') + "\n";
    const std::string path = folder.Write("large.toml", text);
    EXPECT_NO_THROW(LoadProjectFile(path));
    folder.Write("large.toml", text + "\n");
    try {
        LoadProjectFile(path);
        ADD_FAILURE() << "a file of 16 MiB and one byte was read";
    } catch (const AppError& error) {
        EXPECT_EQ(std::string(error.what()), path + ": too large (the limit is 16 MiB)");
    }
}

TEST(ProjectFileRefusal, MissingDrivesAndRequiredKeys) {
    std::string noSample =
        "\n[drive.x]\nposition_unit = \"mm\"\ncounts_per_rev = 1\n"
        "travel_per_rev = 1\n";
    ExpectRefusals({
        {"missing drive table", kDriveX + "[[slave]]\ndrive = \"y\"\n", 7, "slave.drive"},
        {"missing sample_time", noSample, 2, "drive.x.sample_time"},
        {"missing position_unit", "[drive.x]\ncounts_per_rev = 1\n", 1, "drive.x.position_unit"},
    });
}

TEST(ProjectFileRefusal, UnitsThatAreNoPositionUnits) {
    for (const char* unit : {"furlong", "m/s", "IU", "MM"}) {
        std::string text = "[drive.x]\nposition_unit = \"" + std::string(unit) +
                           "\"\ncounts_per_rev = 1\ntravel_per_rev = 1\nsample_time = 1\n";
        ExpectRefusals({{unit, text, 2, "drive.x.position_unit"}});
    }
}

// A megabyte unit made a megabyte message: each value from the file is quoted shortened, and
// a key's last part is kept.
TEST(ProjectFileRefusal, LongValuesAndKeysAreQuotedShortened) {
    const std::string huge(1 << 20, 'b');
    const std::string cut = std::string(40, 'b') + "...";
    const std::string drive = "counts_per_rev = 1\ntravel_per_rev = 1\nsample_time = 1\n";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"[drive.x]\nposition_unit = \"" + huge + "\"\n" + drive,
         "unknown position unit \"" + cut + "\""},
        {"[drive." + huge + "]\nposition_unit = 1\n" + drive,
         "key \"drive." + cut + ".position_unit\": must be a string"},
        {"[controller]\n" + huge + " = 1\n", "key \"controller." + cut + "\": unknown key"},
        {"[controller]\nvariables = [\"" + huge + "\", \"" + huge + "\"]\n",
         "duplicate variable \"" + cut + "\""},
        {"[[slave]]\ndrive = \"" + huge + "\"\n", "no table [drive." + cut + "]"},
    };
    for (const auto& [text, shown] : cases) {
        const std::string message = RefusalOf(text);
        EXPECT_LT(message.size(), 300u) << message.substr(0, 300);
        EXPECT_NE(message.find(shown), std::string::npos) << message.substr(0, 300);
    }
}

TEST(ProjectFileRefusal, BadVariableNames) {
    ExpectRefusals({
        {"empty", "[controller]\nvariables = [\"TPOS\", \"\"]\n", 2, "controller.variables"},
        {"duplicate", "[controller]\nvariables = [\"TPOS\",\n\"CACC\",\n\"TPOS\"]\n", 4,
         "controller.variables"},
    });
}

TEST(ProjectFile, ControllerDefaultsAndAsWritten) {
    auto empty = LoadProjectText("", "empty.toml");
    EXPECT_EQ(empty->Controller().IsMotionController(), 1);
    EXPECT_EQ(empty->Controller().GetMotionControllerSlaveCount(), 0);
    for (const char* name : {"CACC", "CSPD", "TPOS"})
        EXPECT_NE(empty->Controller().FindVariable(name, 1), nullptr) << name;
    auto project = LoadProjectText(
        "[controller]\nmotion_controller = false\nvariables = [\"TPOS\", \"OTHER\"]\n", "c.toml");
    CMC_Setup& controller = project->Controller();
    EXPECT_EQ(controller.IsMotionController(), 0);
    EXPECT_NE(controller.FindVariable("TPOS", 1), nullptr);
    EXPECT_NE(controller.FindVariable("OTHER", 1), nullptr);
    EXPECT_EQ(controller.FindVariable("CACC", 1), nullptr);
}

TEST(ProjectFile, SlavesTakeTheirNumbersAxisIdsAndDrives) {
    auto project = LoadProjectText(
        "[[slave]]\ndrive = \"x\"\n"
        "[[slave]]\naxis_id = 0\n"
        "[[slave]]\naxis_id = 255\ndrive = \"x\"\n" +
            kDriveX,
        "s.toml");
    CMC_Setup& controller = project->Controller();
    ASSERT_EQ(controller.GetMotionControllerSlaveCount(), 3);
    BYTE axisIds[3] = {};
    for (BYTE s = 0; s < 3; ++s)
        EXPECT_NE(controller.MotionController_GetAxisIDOfSlave(s, axisIds[s]), 0);
    EXPECT_EQ(axisIds[0], 1);
    EXPECT_EQ(axisIds[1], 0);
    EXPECT_EQ(axisIds[2], 255);
    EXPECT_EQ(project->Motion().GetMotionControllerSlaveAxis(1), nullptr);
    CMC_Setup* drive = AxisSetupOf(*project, 0);
    ASSERT_NE(drive, nullptr);
    EXPECT_EQ(AxisSetupOf(*project, 2), drive);
}

TEST(ProjectFile, DrivesAsWritten) {
    auto project = LoadProjectText(
        "[[slave]]\ndrive = \"z\"\n[[slave]]\ndrive = \"a\"\n"
        "[drive.a]\nclosed_position = false\nposition_unit = \"\"\ncounts_per_rev = 1\n"
        "travel_per_rev = 1\nsample_time = 1\n"
        "[drive.z]\nposition_unit = \"mm\"\ncounts_per_rev = 2000\ntravel_per_rev = 2\n"
        "sample_time = 0.001\n",
        "z.toml");
    CMC_Setup* drive = AxisSetupOf(*project, 0);
    ASSERT_NE(drive, nullptr);
    CMC_Variable* position = drive->FindVariable("TPOS", 1);
    ASSERT_NE(position, nullptr);
    EXPECT_EQ(position->GetUnitName(), "mm");
    position->SetValueInInternalUnit(1000.0);
    EXPECT_DOUBLE_EQ(position->GetValueInBaseUnit(), 0.001);
    EXPECT_EQ(drive->GetIntOption("IsClosedPosition"), 1);
    CMC_Setup* noPosition = AxisSetupOf(*project, 1);
    ASSERT_NE(noPosition, nullptr);
    EXPECT_EQ(noPosition->GetIntOption("IsClosedPosition"), 0);
    EXPECT_EQ(noPosition->FindVariable("TPOS", 1), nullptr);
}

}  // namespace

namespace {

TEST(ProjectFileLimits, OutOfRangeOrMisplacedLimitsNameTheirLineAndKey) {
    ExpectRefusals({
        {"zero speed", kDriveX + "max_speed = 0\n", 6, "drive.x.max_speed"},
        {"negative acceleration", kDriveX + "max_acceleration = -1\n", 6,
         "drive.x.max_acceleration"},
        {"text speed", kDriveX + "max_speed = \"fast\"\n", 6, "drive.x.max_speed"},
        {"envelope upside down", kDriveX + "travel_min = 5\ntravel_max = 1\n", 7,
         "drive.x.travel_max"},
        {"huge travel", kDriveX + "travel_max = 1e13\n", 6, "drive.x.travel_max"},
        {"no position unit",
         "[drive.x]\nposition_unit = \"\"\ncounts_per_rev = 1\ntravel_per_rev = 1\n"
         "sample_time = 0.001\nmax_speed = 1\n",
         6, "drive.x.max_speed"},
        {"zero segment time", "[controller]\nmin_segment_time = 0\n", 2,
         "controller.min_segment_time"},
    });
}

TEST(ProjectFileLimits, LimitsReachTheSlavesOfTheirDrives) {
    const std::string text =
        "[controller]\nmin_segment_time = 0.004\n[[slave]]\ndrive = \"x\"\n"
        "[[slave]]\n" +
        kDriveX + "max_speed = 50\ntravel_min = -1\ntravel_max = 2.5\n";
    auto project = LoadProjectText(text, "test.toml");
    ASSERT_EQ(project->MinSegmentTime(), 0.004);
    const DriveLimits* limits = project->SlaveLimits(0);
    ASSERT_NE(limits, nullptr);
    EXPECT_EQ(limits->positionUnit, "mm");
    EXPECT_EQ(limits->maxSpeed, 50.0);
    EXPECT_FALSE(limits->maxAcceleration.has_value());
    EXPECT_EQ(limits->travelMin, -1.0);
    EXPECT_EQ(limits->travelMax, 2.5);
    EXPECT_EQ(project->SlaveLimits(1), nullptr);
    EXPECT_FALSE(LoadProjectText(kDriveX, "test.toml")->MinSegmentTime().has_value());
}

}  // namespace
