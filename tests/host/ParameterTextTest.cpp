#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/CMC_Motion.h"
#include "host/CMC_Setup.h"
#include "host/CMC_Value.h"
#include "host/ParameterText.h"
#include "tests/support/StubModel.h"
#include "tests/support/TestProject.h"

namespace {
class ParameterText : public ::testing::Test {
  protected:
    ParameterText() {
        drive.SetUnits(TestDrive{}.Units());
        drive.AddVariable("TPOS", "mm", VT_LONG);
    }

    CString Radio(const std::string& text, const char* name, int& field, int min = 0, int max = 1) {
        return model.ReadRadioParam(CString(text), name, field, min, max);
    }

    CString Array(const std::string& text, const char* name, const char* prefix) {
        return model.ReadArrayDataParam(CString(text), name, prefix, nullptr, &array);
    }

    CMC_Setup controller{"controller"};
    CMC_Setup drive{"drive"};
    CMC_Motion motion;
    StubModel model{controller, motion};
    CMC_ArrayParameter array{&drive};
};
}  // namespace

TEST_F(ParameterText, RadioEntriesRoundTrip) {
    CString text;
    model.WriteRadioParam(text, "ProfileType", 1);
    model.WriteRadioParam(text, "SlaveX", -1);
    EXPECT_EQ(text, "ProfileType=1\nSlaveX=-1\n");
    int profile = 0;
    int slave = 5;
    EXPECT_EQ(Radio(text.str(), "ProfileType", profile), "");
    EXPECT_EQ(Radio(text.str(), "SlaveX", slave, -1, 3), "");
    EXPECT_EQ(profile, 1);
    EXPECT_EQ(slave, -1);
}

TEST_F(ParameterText, LinesTolerateBlanksCarriageReturnsAndTakesTheFirstEntry) {
    const std::string text =
        "\r\n  \n Other=7\r\n\tSlaveXY=4\n  SlaveX \t=  2 \r\nSlaveX=3\nLast = 1";
    int slave = 0;
    EXPECT_EQ(Radio(text, "SlaveX", slave, 0, 9), "");
    EXPECT_EQ(slave, 2);
    int last = 0;
    EXPECT_EQ(Radio(text, "Last", last), "");
    EXPECT_EQ(last, 1);
}

// An element saved with CR line ends holds one entry a line, not one entry with the rest in
// its value.
TEST_F(ParameterText, ALoneCarriageReturnEndsAnEntry) {
    const std::string text = "ProfileType=1\rSlaveX=2\rX_TPOS[mm]=1 2\rY_TPOS[mm]=3\r";
    int profile = 0;
    int slave = 0;
    EXPECT_EQ(Radio(text, "ProfileType", profile), "");
    EXPECT_EQ(Radio(text, "SlaveX", slave, 0, 9), "");
    EXPECT_EQ(profile, 1);
    EXPECT_EQ(slave, 2);
    EXPECT_EQ(Array(text, "TPOS", "X_"), "");
    EXPECT_EQ(array.GetValuesCount(), 2);
}

// Editors that align the "=" of a file's entries put tabs where others put blanks.
TEST_F(ParameterText, ATabMayStandWhereABlankMay) {
    int slave = 0;
    EXPECT_EQ(Radio("SlaveX\t=\t3\t\n", "SlaveX", slave, 0, 9), "");
    EXPECT_EQ(slave, 3);
    EXPECT_EQ(Array("X_TPOS\t[\tmm\t]\t=\t1\t2\n", "TPOS", "X_"), "");
    EXPECT_EQ(array.GetUnitName(), "mm");
    EXPECT_EQ(array.GetValuesCount(), 2);
}

TEST_F(ParameterText, BadRadioEntriesExplainThemselvesAndLeaveTheField) {
    int field = 9;
    EXPECT_EQ(Radio("ProfileType=0\n", "SlaveX", field), "Entry \"SlaveX\" is missing!\r\n");
    EXPECT_EQ(Radio("SlaveX=a\n", "SlaveX", field),
              "Entry \"SlaveX\" is not a whole number: \"a\"!\r\n");
    EXPECT_EQ(Radio("ProfileType=5\n", "ProfileType", field),
              "Entry \"ProfileType\" is 5, out of range 0 to 1!\r\n");
    EXPECT_EQ(Radio("ProfileType=99999999999999999999\n", "ProfileType", field),
              "Entry \"ProfileType\" is 99999999999999999999, out of range 0 to 1!\r\n");
    for (const char* bad : {"SlaveX=1.0", "SlaveX=0x1", "SlaveX=1 2", "SlaveX=", "SlaveX=nan",
                            "SlaveX=+-1", "SlaveX=1e0"}) {
        EXPECT_NE(Radio(bad, "SlaveX", field).str().find("is not a whole number"),
                  std::string::npos)
            << bad;
    }
    EXPECT_EQ(Radio("SlaveX\n", "SlaveX", field),
              "Entry \"SlaveX\" has no \"=\" and no value!\r\n");
    EXPECT_EQ(Radio("SlaveX[mm]=1\n", "SlaveX", field),
              "Entry \"SlaveX\" must not have a unit!\r\n");
    EXPECT_EQ(field, 9);
    EXPECT_EQ(Radio("SlaveX=+1", "SlaveX", field), "");
    EXPECT_EQ(field, 1);
}

TEST_F(ParameterText, OptionalRadioEntriesAreSilent) {
    int field = 4;
    model.ReadOptionalRadioParam("ClearBuffer=7\n", "ClearBuffer", field, 0, 1);
    model.ReadOptionalRadioParam("", "ClearBuffer", field, 0, 1);
    EXPECT_EQ(field, 4);
    model.ReadOptionalRadioParam("ClearBuffer=1\n", "ClearBuffer", field, 0, 1);
    EXPECT_EQ(field, 1);
}

TEST_F(ParameterText, HostileTextsGiveMessagesNotCrashes) {
    int field = 0;
    const std::string withNul("Slave\0X=1\nSlaveX=\0\n", 19);
    EXPECT_EQ(Radio(withNul, "SlaveX", field),
              "Entry \"SlaveX\" is not a whole number: \"\\x00\"!\r\n");
    const std::string huge = "SlaveX=" + std::string(1000000, '7') + "\n";
    EXPECT_NE(Radio(huge, "SlaveX", field).str().find("..."), std::string::npos);
    // A quote holds forty characters of what the user wrote; a longer text ends in "...".
    const std::string forty(40, 'a');
    EXPECT_EQ(Radio("SlaveX=" + forty, "SlaveX", field),
              "Entry \"SlaveX\" is not a whole number: \"" + forty + "\"!\r\n");
    EXPECT_EQ(Radio("SlaveX=" + forty + "b", "SlaveX", field),
              "Entry \"SlaveX\" is not a whole number: \"" + forty + "...\"!\r\n");
    EXPECT_EQ(Array("X_TPOS[mm=1 2\n", "TPOS", "X_"),
              "Entry \"X_TPOS\" has \"[\" without \"]\"!\r\n");
    EXPECT_EQ(Array("X_TPOS[mm] 1 2\n", "TPOS", "X_"),
              "Entry \"X_TPOS\" has text between \"]\" and \"=\"!\r\n");
    EXPECT_EQ(Array("X_TPOS[mm]\n", "TPOS", "X_"),
              "Entry \"X_TPOS\" has no \"=\" and no value!\r\n");
    EXPECT_EQ(Array("X_TPOS[mm]=1 1e400\n", "TPOS", "X_"),
              "Value 2 of entry \"X_TPOS\" is out of range: \"1e400\" (allowed -5368709.12 to "
              "5368709.118 mm)!\r\n");
    for (const char* bad : {"X_TPOS[mm]=nan", "X_TPOS[mm]=inf", "X_TPOS[mm]=0x10",
                            "X_TPOS[mm]=1.5mm", "X_TPOS[mm]=1,5", "X_TPOS[mm]=--1"}) {
        EXPECT_NE(Array(bad, "TPOS", "X_").str().find("is not a number"), std::string::npos) << bad;
    }
    EXPECT_EQ(Array("X_TPOS[mm]=1 abc\n", "TPOS", "X_"),
              "Value 2 of entry \"X_TPOS\" is not a number: \"abc\"!\r\n");
}

TEST_F(ParameterText, ArrayEntriesRoundTripWithTheirUnit) {
    ASSERT_EQ(Array("X_TPOS[mm]=1 -2.5 0.0025\n", "TPOS", "X_"), "");
    EXPECT_EQ(array.GetName(), "X_TPOS");
    EXPECT_EQ(array.GetUnitName(), "mm");
    EXPECT_EQ(array.GetType(), VT_LONG);
    EXPECT_EQ(array.GetValueInInternalUnit(1), -1000.0);
    CString text;
    model.WriteArrayDataParam(text, &array);
    EXPECT_EQ(text, "X_TPOS[mm]=1 -2.5 0.0025\n");

    ASSERT_EQ(Array("CACC[ m/s^2 ]=  2.5   0 \r\n", "CACC", nullptr), "");
    EXPECT_EQ(array.GetType(), VT_FIXED);
    EXPECT_EQ(array.GetValueInInternalUnit(0), 1.0);  // 0.0025 mm per sample squared
}

TEST_F(ParameterText, EmptyUnitMeansInternalUnitAndEmptyListMeansNoValues) {
    ASSERT_EQ(Array("X_TPOS[]=4 5\n", "TPOS", "X_"), "");
    EXPECT_EQ(array.GetUnitName(), "IU");
    EXPECT_EQ(array.GetValueInInternalUnit(1), 5.0);
    ASSERT_EQ(Array("X_TPOS[in]=\n", "TPOS", "X_"), "");
    EXPECT_EQ(array.GetValuesCount(), 0);
    EXPECT_EQ(array.GetUnitName(), "in");
}

TEST_F(ParameterText, UnitsTheAxisCannotUseAreRefused) {
    for (const char* unit : {"mm/s", "rad", "furlong"}) {
        const std::string text = std::string("X_TPOS[") + unit + "]=1\n";
        EXPECT_EQ(
            Array(text, "TPOS", "X_"),
            CString("Unit \"") + unit + "\" of entry \"X_TPOS\" cannot be used on this axis!\r\n");
    }
    CMC_ArrayParameter onController(&controller);
    EXPECT_EQ(model.ReadArrayDataParam("X_TPOS[mm]=1\n", "TPOS", "X_", nullptr, &onController),
              "Unit \"mm\" of entry \"X_TPOS\" cannot be used on this axis!\r\n");
    EXPECT_EQ(model.ReadArrayDataParam("X_TPOS[]=1\n", "TPOS", "X_", nullptr, &onController), "");
}

TEST_F(ParameterText, FailedArrayReadKeepsValuesButTakesNameAndType) {
    CMC_ArrayParameter fresh(&drive);
    fresh.SetValuesCount(2);
    fresh.SetValueInInternalUnit(0, 7.7);
    EXPECT_EQ(model.ReadArrayDataParam("", "CSPD", nullptr, nullptr, &fresh),
              "Entry \"CSPD\" is missing!\r\n");
    EXPECT_EQ(fresh.GetName(), "CSPD");
    EXPECT_EQ(fresh.GetType(), VT_FIXED);
    EXPECT_EQ(fresh.GetUnitName(), "IU/Ts");
    EXPECT_EQ(fresh.GetValuesCount(), 2);
    EXPECT_EQ(fresh.GetValueInInternalUnit(0), CMC_Value::Represent(VT_FIXED, 7.7));

    ASSERT_EQ(Array("X_TPOS[mm]=1 2\n", "TPOS", "X_"), "");
    EXPECT_NE(Array("X_TPOS[mm]=1 x\n", "TPOS", "X_"), "");
    EXPECT_EQ(array.GetUnitName(), "mm");
    EXPECT_EQ(array.GetValuesCount(), 2);
}

TEST_F(ParameterText, NoUnitArraysReadPlainNumbersOfTheGivenType) {
    ASSERT_EQ(model.ReadNoUnitArrayDataParam("X_TPOS[mm]=1.4 2.6\n", VT_LONG, "X_TPOS", &array),
              "");
    EXPECT_EQ(array.GetUnitName(), "");
    EXPECT_EQ(array.GetValueInInternalUnit(0), 1.0);
    EXPECT_EQ(array.GetValueInInternalUnit(1), 3.0);
    EXPECT_EQ(model.ReadNoUnitArrayDataParam("CACC[]=1 -40000\n", VT_FIXED, "CACC", &array),
              "Value 2 of entry \"CACC\" is out of range: \"-40000\" (allowed -32768 to "
              "32767.99998)!\r\n");
    EXPECT_EQ(array.GetName(), "CACC");
    EXPECT_EQ(array.GetType(), VT_FIXED);
    EXPECT_EQ(array.GetValuesCount(), 2);
    EXPECT_EQ(model.ReadNoUnitArrayDataParam("", VT_LONG, "X_TPOS", nullptr),
              "Entry \"X_TPOS\" has no array to be read into!\r\n");
}

TEST_F(ParameterText, DefaultUnitsAndInitialization) {
    EXPECT_EQ(CMC_EditMotionInternalData::GetDefaultUnit("TPOS", "X_", nullptr), "IU");
    EXPECT_EQ(CMC_EditMotionInternalData::GetDefaultUnit("CACC", nullptr, nullptr), "IU/Ts^2");
    EXPECT_EQ(CMC_EditMotionInternalData::GetDefaultUnit("CSPD", nullptr, &drive), "IU/Ts");
    EXPECT_EQ(CMC_EditMotionInternalData::GetDefaultUnit("TPOS", "Z_", &drive), "mm");
    EXPECT_EQ(CMC_EditMotionInternalData::GetDefaultUnit("XYZ", nullptr, nullptr), "");
    EXPECT_EQ(CMC_EditMotionInternalData::GetDataParamName("TPOS", "X_", nullptr), "X_TPOS");
    EXPECT_EQ(CMC_EditMotionInternalData::GetDataParamName("CACC", nullptr, "_1"), "CACC_1");

    array.SetValuesCount(3);
    model.InitializeArrayDataParam(&array, "TPOS", "Z_", nullptr);
    EXPECT_EQ(array.GetName(), "Z_TPOS");
    EXPECT_EQ(array.GetUnitName(), "mm");
    EXPECT_EQ(array.GetValuesCount(), 0);
    // The controller has a TPOS in mm but no drive to convert it: no unit.
    controller.AddVariable("TPOS", "mm", VT_LONG);
    CMC_ArrayParameter onController(&controller);
    model.InitializeArrayDataParam(&onController, "TPOS", "Z_", nullptr);
    EXPECT_EQ(onController.GetName(), "Z_TPOS");
    EXPECT_EQ(onController.GetUnitName(), "");
}

TEST_F(ParameterText, MotionAddsArrayEntries) {
    CString text = "ProfileType=0\n";
    motion.AddToElemParameters(text, "X_TPOS", "IU", "0");
    EXPECT_EQ(text, "ProfileType=0\nX_TPOS[IU]=0\n");
}

// A walk of the lines that lookups share finds each entry FindEntry finds, whatever the order
// of the lookups, and never one that a line of another name only begins with.
TEST(EntryLines, EntriesLookedUpInTurnAreThoseFoundOneByOne) {
    const std::string text =
        "\r\n B=1\rA [mm] = 2 3\r\nSlaveXY=4\nSlaveX extra=5\nA=6\nSlaveX=7\nC\nLast=8";
    const std::vector<std::string> names = {"Last", "A", "SlaveX", "C", "Missing", "B", "", "A"};
    for (size_t start = 0; start < names.size(); ++start) {
        parametertext::EntryLines lines(text);
        for (size_t i = 0; i < names.size(); ++i) {
            const std::string& name = names[(start + i) % names.size()];
            const auto walked = lines.Find(name);
            const auto alone = parametertext::FindEntry(text, name);
            ASSERT_EQ(walked.has_value(), alone.has_value()) << name;
            if (!alone) continue;
            EXPECT_EQ(walked->form, alone->form) << name;
            EXPECT_EQ(walked->unit, alone->unit) << name;
            EXPECT_EQ(walked->value.data(), alone->value.data()) << name;
            EXPECT_EQ(walked->value.size(), alone->value.size()) << name;
        }
    }
}

namespace {
class WalkingModel : public StubModel {
  public:
    using CMC_EditMotionInternalData::EntryWalk;
    using StubModel::StubModel;
};
}  // namespace

// The readers share the walk of the text they are given; a text given a value of another
// length meanwhile, even in the same storage, or another text, is looked up afresh.
TEST(EntryLines, AReaderUnderAWalkReadsATextOfAnotherLengthAsItIsNow) {
    CMC_Setup controller{"controller"};
    CMC_Motion motion;
    WalkingModel model{controller, motion};
    CString text("SlaveX=1\nSlaveY=2\n");
    const WalkingModel::EntryWalk walk(model, text);
    int slave = 0;
    EXPECT_EQ(model.ReadRadioParam(text, "SlaveX", slave, 0, 99), "");
    EXPECT_EQ(slave, 1);
    // Shorter, in the same storage: the line walked already now starts "SlaveY=3".
    text = "SlaveY=33";
    EXPECT_EQ(model.ReadRadioParam(text, "SlaveY", slave, 0, 99), "");
    EXPECT_EQ(slave, 33);
    const CString other("SlaveY=4");
    EXPECT_EQ(model.ReadRadioParam(other, "SlaveY", slave, 0, 9), "");
    EXPECT_EQ(slave, 4);
}
