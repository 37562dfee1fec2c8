#include <gtest/gtest.h>

#include <string>

#include "module/model/CInternalData.h"
#include "tests/support/TestProject.h"

namespace {

// Slaves 0-2: closed-position linear drives (axis ids 1-3); 3: open position; 4: axis id 0.
class ReadWrite : public ::testing::Test {
  protected:
    ReadWrite() {
        project.AddSlaves(3, TestDrive{});
        TestDrive open;
        open.closedPosition = false;
        project.AddSlave(4, &open);
        const TestDrive drive;
        project.AddSlave(0, &drive);
    }

    // A valid three-axis element with entries replaced or added by `changes` (Name=Value lines
    // placed first win, since the first entry of a name counts).
    static std::string Element(const std::string& changes = "") {
        return changes +
               "ProfileType=1\nConfigureMode=1\nClearBuffer=1\nInsertEndSegment=1\n"
               "SlaveX=0\nSlaveY=1\nSlaveZ=2\n"
               "X_TPOS[mm]=10 0\nY_TPOS[mm]=0 5\nZ_TPOS[mm]=0 0\n"
               "CACC[m/s^2]=1 0\nCSPD[m/s]=0.5 0.25\nExecute=0\nWaitForCompletion=1\n";
    }

    std::string Read(const std::string& text) {
        CString error;
        data.ReadParameters(CString(text), error);
        return error.str();
    }

    std::string Written() {
        CString text;
        data.WriteParameters(text);
        return text.str();
    }

    static std::string Invalid(const char* name) {
        return std::string("Invalid value of ") + name + "!\r\n";
    }

    TestProject project;
    CInternalData data{project.controller, project.motion};
};

TEST_F(ReadWrite, ValidElementReadsAndWritesBackInTheWritingOrder) {
    ASSERT_EQ(Read(Element()), "");
    EXPECT_EQ(data.m_nUnitKind, 2);
    const std::string written = Written();
    EXPECT_EQ(written,
              "ProfileType=1\nConfigureMode=1\nClearBuffer=1\nInsertEndSegment=1\n"
              "SlaveX=0\nSlaveY=1\nSlaveZ=2\n"
              "X_TPOS[mm]=10 0\nY_TPOS[mm]=0 5\nZ_TPOS[mm]=0 0\n"
              "CACC[m/s^2]=1 0\nCSPD[m/s]=0.5 0.25\nExecute=0\nWaitForCompletion=1\n");

    CInternalData again(project.controller, project.motion);
    CString error;
    EXPECT_EQ(again.ReadParameters(CString(written), error), 1);
    CString rewritten;
    again.WriteParameters(rewritten);
    EXPECT_EQ(rewritten.str(), written);
}

TEST_F(ReadWrite, SlaveChecksNameTheOffendingEntry) {
    EXPECT_EQ(Read(Element("SlaveZ=0\n")), Invalid("SlaveZ"));
    EXPECT_EQ(Read(Element("SlaveY=0\n")), Invalid("SlaveY"));
    EXPECT_EQ(Read(Element("SlaveZ=3\n")), Invalid("SlaveZ"));  // open position
    EXPECT_EQ(Read(Element("SlaveZ=4\n")), Invalid("SlaveZ"));  // axis id 0
    // The slave count itself has no axis, so the axes form no set and the columns, holding
    // plain numbers then, cannot take values in mm either.
    EXPECT_EQ(Read(Element("SlaveZ=5\n")), Invalid("SlaveZ") + Invalid("X_TPOS") +
                                               Invalid("Y_TPOS") + Invalid("Z_TPOS") +
                                               Invalid("CACC") + Invalid("CSPD"));
}

TEST_F(ReadWrite, SlaveOutOfTheHostsRangeGetsOnlyTheHostsMessage) {
    const std::string error = Read(Element("SlaveX=6\n"));
    EXPECT_NE(error.find("SlaveX"), std::string::npos);
    EXPECT_EQ(error.find(Invalid("SlaveX")), std::string::npos);
}

TEST_F(ReadWrite, ColumnCountsAreCheckedAgainstX) {
    EXPECT_EQ(Read(Element("X_TPOS[mm]=1 2 3\nCACC[m/s^2]=0 0 0\nCSPD[m/s]=0 0 0\n")),
              Invalid("Y_TPOS") + Invalid("Z_TPOS"));
    EXPECT_EQ(Read(Element("X_TPOS[mm]=\nCACC[m/s^2]=1\nCSPD[m/s]=1\n")),
              Invalid("X_TPOS") + Invalid("CACC") + Invalid("CSPD"));
}

TEST_F(ReadWrite, ProfileTypeThatCannotBeReadMakesTheElementTwoAxis) {
    const std::string error = Read(Element("ProfileType=7\nSlaveZ=0\n"));
    EXPECT_NE(error.find("ProfileType"), std::string::npos);
    EXPECT_EQ(error.find("SlaveZ"), std::string::npos);
    EXPECT_EQ(data.m_nProfileType, 0);
}

TEST_F(ReadWrite, TwoAxisElementIgnoresAndResetsZ) {
    ASSERT_EQ(Read(Element("ProfileType=0\nZ_TPOS[mm]=1 2 3 4\n")), "");
    EXPECT_EQ(data.m_pPositionZ->GetValuesCount(), 0);
    const std::string written = Written();
    EXPECT_EQ(written.find("SlaveZ"), std::string::npos);
    EXPECT_EQ(written.find("Z_TPOS"), std::string::npos);
}

TEST_F(ReadWrite, SegmentWithoutMovementIsRefusedWithItsIndex) {
    const std::string zero =
        "Illegal position increment values!\nSegments cannot have all increments equal to 0.";
    EXPECT_EQ(Read(Element("ProfileType=0\nY_TPOS[mm]=0 0\nZ_TPOS[mm]=5 5\n")), zero);
    int segment = -1;
    EXPECT_EQ(data.ValidateSegments(&segment).str(), zero);
    EXPECT_EQ(segment, 1);

    EXPECT_EQ(Read(Element("Y_TPOS[mm]=0 0\nZ_TPOS[mm]=0 5\n")), "");
    EXPECT_EQ(Read(Element("X_TPOS[mm]=0 1\nY_TPOS[mm]=0 0\nCACC[m/s^2]=2 0\n")), zero);
}

TEST_F(ReadWrite, WrongCountIsReportedOnSegmentZero) {
    ASSERT_EQ(Read(Element()), "");
    data.m_pSpeed->InsertValueAt(2, 1.0);
    int segment = 5;
    EXPECT_EQ(data.ValidateSegments(&segment).str(),
              "Invalid number of segments. You should have at least one segment.");
    EXPECT_EQ(segment, 0);
}

TEST_F(ReadWrite, OptionalEntriesAreWrittenOnlyWhenTheyMatter) {
    ASSERT_EQ(Read(Element("ConfigureMode=0\nInsertEndSegment=0\n")), "");
    const std::string written = Written();
    EXPECT_EQ(written.find("ClearBuffer"), std::string::npos);
    EXPECT_EQ(written.find("WaitForCompletion"), std::string::npos);
    EXPECT_EQ(written.find("Event"), std::string::npos);
}

TEST_F(ReadWrite, StartEventIsReadAndWrittenWithTheElement) {
    ASSERT_EQ(Read(Element("Execute=1\nEventType=0\nEventDelay=250\n")), "");
    EXPECT_NE(Written().find("EventDelay=250\n"), std::string::npos);
}

TEST_F(ReadWrite, BadStartEventIsReportedOnceWithoutTheSpeedsMessage) {
    const std::string error = Read(Element("Execute=1\nEventType=9\nCSPD[m/s]=1\n"));
    EXPECT_EQ(error.find(Invalid("CSPD")), 0u);
    const std::string rest = error.substr(Invalid("CSPD").size());
    EXPECT_FALSE(rest.empty());
    EXPECT_EQ(rest.find("CSPD"), std::string::npos);
}

TEST_F(ReadWrite, NegativeAccelerationOrSpeedIsRefused) {
    EXPECT_EQ(Read(Element("CACC[m/s^2]=1 -1\n")), Invalid("CACC"));
    EXPECT_EQ(Read(Element("CSPD[m/s]=-0.5 1\n")), Invalid("CSPD"));
}

TEST_F(ReadWrite, NegativeValuesAlsoFailValidationWithTheirSegment) {
    ASSERT_EQ(Read(Element()), "");
    data.m_pSpeed->SetValueInInternalUnit(1, -3.0);
    int segment = 0;
    EXPECT_EQ(data.ValidateSegments(&segment).str(), "Invalid value of CSPD!");
    EXPECT_EQ(segment, 1);
}

TEST_F(ReadWrite, SlavesWithoutAnAxisLetterAreRefused) {
    TestProject big;
    big.AddSlaves(28, TestDrive{});
    CInternalData wide(big.controller, big.motion);
    CString error;
    wide.ReadParameters(CString(Element("SlaveX=25\nSlaveY=26\nSlaveZ=27\n")), error);
    EXPECT_EQ(error.str(), Invalid("SlaveY") + Invalid("SlaveZ"));
}

TEST_F(ReadWrite, ColumnsWithoutUnitsRefuseUnitsTheirNumbersWouldNeedConverting) {
    // A metric X and an imperial Y form no set: the columns hold internal numbers.
    TestProject mixed;
    const TestDrive metric;
    const TestDrive imperial{"in", 1000, 0.2, 0.001, true};
    mixed.AddSlave(1, &metric);
    mixed.AddSlave(2, &imperial);
    auto read = [&](const std::string& changes) {
        CInternalData model(mixed.controller, mixed.motion);
        CString error;
        model.ReadParameters(CString(changes + "ProfileType=0\nSlaveX=0\nSlaveY=1\n"
                                               "X_TPOS[]=10 -10\nY_TPOS[IU]=0 5\n"
                                               "CACC[]=0 0\nCSPD[IU/Ts]=0 0\nExecute=0\n"),
                             error);
        EXPECT_EQ(model.m_nUnitKind, 0);
        return std::make_pair(error.str(), model.m_pPositionX->GetValuesCount());
    };
    EXPECT_EQ(read(""), std::make_pair(std::string(), 2));
    EXPECT_EQ(read("X_TPOS[IU]=10 -10\nCACC[IU/Ts^2]=1 0\n").first, "");
    for (const char* unit : {"mm", "furlong", "in", "IU/Ts"}) {
        auto [error, count] = read("X_TPOS[" + std::string(unit) + "]=10 -10\n");
        EXPECT_EQ(error.find(Invalid("X_TPOS")), 0u) << unit << ": " << error;
        EXPECT_EQ(count, 0) << unit << ": 10 " << unit << " are no 10 counts";
    }
    EXPECT_EQ(read("Y_TPOS[in]=0 5\n").first, Invalid("Y_TPOS"));
    EXPECT_EQ(read("CACC[m/s^2]=0 0\n").first, Invalid("CACC"));
    EXPECT_EQ(read("CSPD[IU]=0 0\n").first, Invalid("CSPD"));
}

TEST_F(ReadWrite, MissingRequiredEntriesAreAllReported) {
    const std::string error = Read("ProfileType=0\n");
    for (const char* name : {"SlaveX", "SlaveY", "X_TPOS", "Y_TPOS", "CACC", "CSPD", "Execute"})
        EXPECT_NE(error.find(name), std::string::npos) << name;
    EXPECT_EQ(data.m_pPositionX->GetValuesCount(), 0);
}

}  // namespace
