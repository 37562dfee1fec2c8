#include <gtest/gtest.h>

#include <array>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <string>

#include "CommandTest.h"

namespace {

using Json = nlohmann::json;

// Per axis, the sum of the LPOS operands of a program.
std::vector<long long> SumOfOperands(const std::string& program) {
    static const std::regex lpos(R"(LPOS1 ([^;]*);)");
    std::vector<long long> sums;
    std::istringstream lines(program);
    std::string line;
    std::smatch match;
    while (std::getline(lines, line)) {
        if (!std::regex_search(line, match, lpos)) continue;
        std::istringstream operands(match[1].str());
        std::string operand;
        for (size_t axis = 0; std::getline(operands, operand, ','); ++axis) {
            if (sums.size() <= axis) sums.push_back(0);
            sums[axis] += std::stoll(operand);
        }
    }
    return sums;
}

class StatsCommand : public CommandTest {
  protected:
    Json StatsJson(const std::vector<std::string>& args) {
        ProgramOutcome outcome = Run(args);
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        return Json::parse(outcome.out);
    }
};

const char* const kNoSpeedElement =
    "ProfileType=0\nSlaveX=0\nSlaveY=1\nX_TPOS[mm]=30 0\nY_TPOS[mm]=40 10\n"
    "CACC[m/s^2]=0 0\nCSPD[m/s]=0 0\nExecute=0\n";

TEST_F(StatsCommand, JsonHasEveryKeyAndEndCountsAreTheProgramsOperands) {
    for (const char* name : {"linear3", "rotary2", "mixed"}) {
        const std::string element = Example(std::string(name) + ".element");
        const std::string project = Example(std::string(name) + ".toml");
        const Json stats = StatsJson({"stats", element, "-p", project, "--json", "--segments"});
        for (const char* key :
             {"segments", "profile", "unit_kind", "length_unit", "speed_unit", "acceleration_unit",
              "path_length", "duration_s", "peak_speed", "axes", "warnings", "duration_hms",
              "per_minute_unit", "peak_speed_per_minute", "per_segment"})
            EXPECT_TRUE(stats.contains(key)) << name << ": " << key;
        const std::vector<long long> sums =
            SumOfOperands(Run({"translate", element, "-p", project}).out);
        ASSERT_EQ(stats["axes"].size(), sums.size()) << name;
        for (size_t axis = 0; axis < sums.size(); ++axis) {
            const Json& values = stats["axes"][std::string(1, char('X' + axis))];
            EXPECT_EQ(values["end_counts"].get<long long>(), sums[axis]) << name;
            for (const char* key : {"travel", "min", "max", "end"})
                EXPECT_TRUE(values[key].is_number()) << name << ": " << key;
        }
        ASSERT_EQ(stats["per_segment"].size(), stats["segments"].get<size_t>());
        for (const char* key :
             {"index", "length", "entry_speed", "exit_speed", "peak_speed", "time_s"})
            EXPECT_TRUE(stats["per_segment"][0].contains(key)) << name << ": " << key;
    }
}

TEST_F(StatsCommand, ExampleElementIsDescribedInItsUnits) {
    const Json stats =
        StatsJson({"stats", Example("linear3.element"), "-p", Example("linear3.toml"), "--json"});
    EXPECT_EQ(stats["segments"], 5);
    EXPECT_EQ(stats["profile"], 3);
    EXPECT_EQ(stats["unit_kind"], "linear");
    EXPECT_EQ(stats["length_unit"], "mm");
    EXPECT_EQ(stats["speed_unit"], "m/s");
    EXPECT_EQ(stats["acceleration_unit"], "m/s^2");
    EXPECT_NEAR(stats["path_length"].get<double>(), 70.0 + std::sqrt(50.0 + 1.5 * 1.5), 1e-9);
    EXPECT_NEAR(stats["peak_speed"].get<double>(), 0.1, 1e-6);
    EXPECT_EQ(stats["axes"]["Z"]["min"], -1.5);
    EXPECT_EQ(stats["axes"]["X"]["travel"], 45.0);
    EXPECT_EQ(stats["axes"]["X"]["max"], 20.0);
    EXPECT_EQ(stats["axes"]["X"]["end"], 5.0);
    EXPECT_FALSE(stats.contains("per_segment"));
}

TEST_F(StatsCommand, ElementWithoutUnitsHasNoDuration) {
    const Json stats =
        StatsJson({"stats", Example("mixed.element"), "-p", Example("mixed.toml"), "--json"});
    EXPECT_EQ(stats["unit_kind"], "none");
    EXPECT_EQ(stats["length_unit"], "counts");
    EXPECT_TRUE(stats["duration_s"].is_null());
    EXPECT_TRUE(stats["peak_speed"].is_null());
    EXPECT_EQ(stats["warnings"].size(), 1u);
}

TEST_F(StatsCommand, SpeedAndAccelerationBeforeTheElementMakeTheDurationKnown) {
    const std::string element = Write("e.element", kNoSpeedElement);
    const Json unknown = StatsJson({"stats", element, "--json"});
    EXPECT_TRUE(unknown["duration_s"].is_null());
    EXPECT_EQ(unknown["warnings"].size(), 2u);
    // 60 mm at 0.1 m/s and 1 m/s^2: 0.6 s + 0.1 s.
    const Json known = StatsJson({"stats", element, "--json", "--speed", "0.1", "--accel", "1"});
    EXPECT_NEAR(known["duration_s"].get<double>(), 0.7, 1e-4);
    EXPECT_TRUE(known["warnings"].empty());
}

TEST_F(StatsCommand, RefusedElementIsRefusedAsTranslateRefusesIt) {
    const std::string element = Write("bad.element", "ProfileType=0\nSlaveX=0\nSlaveY=0\n");
    const ProgramOutcome translate = Run({"translate", element});
    const ProgramOutcome outcome = Run({"stats", element, "--json"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, translate.err);
    EXPECT_EQ(outcome.out, "");
}

TEST_F(StatsCommand, TextNamesUnitsAndWarnings) {
    const ProgramOutcome outcome = Run({"stats", "-", "--segments"}, kNoSpeedElement);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("path length:  60 mm\n"), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("duration:     not estimable\n"), std::string::npos);
    EXPECT_NE(outcome.out.find("no speed in force"), std::string::npos);
    EXPECT_NE(outcome.out.find("segment  length [mm]"), std::string::npos);
}

TEST_F(StatsCommand, EachSegmentsPeakSpeedIsAlsoGivenPerMinuteAsInTheSummary) {
    const ProgramOutcome outcome =
        Run({"stats", Example("linear3.element"), "-p", Example("linear3.toml"), "--segments"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("peak [m/s]    peak [mm/min] time [s]\n"), std::string::npos)
        << outcome.out;
    const Json stats = StatsJson({"stats", Example("linear3.element"), "-p",
                                  Example("linear3.toml"), "--json", "--segments"});
    for (const Json& segment : stats["per_segment"])
        EXPECT_NEAR(segment["peak_speed_per_minute"].get<double>(),
                    segment["peak_speed"].get<double>() * 60000.0, 1e-6);
    // Without units there is no minute to speak of, and the column is left out.
    const Json none = StatsJson(
        {"stats", Example("mixed.element"), "-p", Example("mixed.toml"), "--json", "--segments"});
    EXPECT_TRUE(none["per_segment"][0]["peak_speed_per_minute"].is_null());
}

// "nan" and "inf" gave "duration 0 s" and "peak speed inf".
TEST_F(StatsCommand, SpeedAndAccelerationMustBeFiniteAndPositive) {
    for (const char* value : {"0", "-1", "fast", "nan", "inf", "-inf", "1e400"}) {
        for (const char* option : {"--speed", "--accel"}) {
            const ProgramOutcome outcome = Run({"stats", "-", option, value}, kNoSpeedElement);
            EXPECT_EQ(outcome.status, 2) << option << value;
            EXPECT_EQ(outcome.out, "") << option << value;
            EXPECT_NE(outcome.err.find(std::string(option) + ": \"" + value + "\""),
                      std::string::npos)
                << outcome.err;
            EXPECT_NE(outcome.err.find("give a number above 0"), std::string::npos) << outcome.err;
        }
    }
}

// The controller holds both as 16.16 fixed point in internal units (on the demo project's X
// 2.5 mm/s and 2.5 m/s^2): beyond that range the model's squares of speeds leave the doubles and
// the duration came out as 0 s, the peak speed as inf.
TEST_F(StatsCommand, SpeedAndAccelerationMustBeValuesTheControllerHolds) {
    for (const std::string option : {"--speed", "--accel"}) {
        const char* other = option == "--speed" ? "--accel" : "--speed";
        for (const char* value : {"1e308", "1e-300", "1e6"}) {
            const ProgramOutcome outcome =
                Run({"stats", "-", other, "1", option, value}, kNoSpeedElement);
            EXPECT_EQ(outcome.status, 2) << option << " " << value;
            EXPECT_EQ(outcome.out, "");
            EXPECT_EQ(outcome.err.rfind("vantrel: " + option + ": ", 0), 0u) << outcome.err;
            EXPECT_NE(outcome.err.find("is not a value the controller holds (from "),
                      std::string::npos)
                << outcome.err;
        }
    }
    const ProgramOutcome fastest =
        Run({"stats", "-", "--speed", "81.9", "--accel", "81919"}, kNoSpeedElement);
    EXPECT_EQ(fastest.status, 0) << fastest.err;
}

TEST_F(StatsCommand, SpeedAndAccelerationTakeUnitsAndRefuseWhatIsNotAboveZeroPlainly) {
    const std::string element = Write("e.element", kNoSpeedElement);
    // 60 mm at 0.1 m/s and 1 m/s^2, however the values are written.
    for (const auto& [speed, accel] :
         {std::pair{"0.1", "1"}, {"100mm/s", "1000mm/s^2"}, {"6000mm/min", "1m/s^2"}}) {
        const Json known =
            StatsJson({"stats", element, "--json", "--speed", speed, "--accel", accel});
        EXPECT_NEAR(known["duration_s"].get<double>(), 0.7, 1e-4) << speed << " " << accel;
    }
    for (const char* value : {"0", "-500mm/s^2", "nan", "inf", "1e999", "0mm/s^2"}) {
        const ProgramOutcome outcome = Run({"plot", element, "-o", "-", "--accel", value});
        EXPECT_EQ(outcome.status, 2) << value;
        EXPECT_EQ(outcome.err, "vantrel: --accel: \"" + std::string(value) +
                                   (std::string(value) == "nan" || std::string(value) == "inf"
                                        ? "\" is not a number"
                                        : "\" is out of range") +
                                   "; give a number above 0, with or without a unit (such as "
                                   "500mm/s^2)\n");
    }
    const ProgramOutcome wrongUnit = Run({"stats", element, "--accel", "5mm/s"});
    EXPECT_EQ(wrongUnit.status, 2);
    EXPECT_EQ(wrongUnit.err, "vantrel: --accel: the unit \"mm/s\" does not convert into m/s^2\n");
}

TEST_F(StatsCommand, DurationReadsAsAClockAndSpeedsPerMinute) {
    // 60 mm at 0.001 m/s with 1 m/s^2: 60 s and 1 ms.
    const ProgramOutcome outcome =
        Run({"stats", "-", "--speed", "0.001", "--accel", "1"}, kNoSpeedElement);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("duration:     60.001 s (0:01:00.0, estimated)\n"),
              std::string::npos)
        << outcome.out;
    EXPECT_NE(outcome.out.find("peak speed:   0.001 m/s (60 mm/min)\n"), std::string::npos);
    const Json json = Json::parse(
        Run({"stats", "-", "--json", "--speed", "0.001", "--accel", "1"}, kNoSpeedElement).out);
    EXPECT_EQ(json["duration_hms"], "0:01:00.0");
    EXPECT_EQ(json["per_minute_unit"], "mm/min");
    EXPECT_NEAR(json["peak_speed_per_minute"].get<double>(), 60.0, 1e-6);

    const std::string inch =
        "ProfileType=0\nSlaveX=0\nSlaveY=1\nX_TPOS[in]=10\nY_TPOS[in]=0\nCACC[in/s^2]=100\n"
        "CSPD[in/s]=1\nExecute=0\n";
    const ProgramOutcome inches = Run({"stats", "-"}, inch);
    EXPECT_NE(inches.out.find("peak speed:   1 in/s (60 in/min)\n"), std::string::npos)
        << inches.out;
}

}  // namespace
