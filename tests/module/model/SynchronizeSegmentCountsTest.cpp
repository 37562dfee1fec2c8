#include <gtest/gtest.h>

#include "host/CMC_Value.h"
#include "module/model/CInternalData.h"
#include "tests/support/TestProject.h"

namespace {

class SynchronizeSegmentCounts : public ::testing::Test {
  protected:
    SynchronizeSegmentCounts() {
        project.AddSlaves(3, TestDrive{});
        data.m_nSlaveX = 0;
        data.m_nSlaveY = 1;
        data.UpdateAxesAndUnits();  // creates the five columns
    }

    static void Fill(CMC_ArrayParameter* column, const char* values) {
        column->InitializeMotionParam(VT_LONG, "column", "", values, MC_UNSET_LIMIT,
                                      MC_UNSET_LIMIT);
    }

    std::vector<int> Counts() const {
        return {data.m_pPositionX->GetValuesCount(), data.m_pPositionY->GetValuesCount(),
                data.m_pPositionZ->GetValuesCount(), data.m_pAcceleration->GetValuesCount(),
                data.m_pSpeed->GetValuesCount()};
    }

    TestProject project;
    CInternalData data{project.controller, project.motion};
};

TEST_F(SynchronizeSegmentCounts, CutsEveryColumnToTheShorterOfXAndY) {
    Fill(data.m_pPositionX, "1 2 3");
    Fill(data.m_pPositionY, "4 5 6 7 8");
    Fill(data.m_pPositionZ, "");
    Fill(data.m_pAcceleration, "");
    Fill(data.m_pSpeed, "1 2 3 4 5 6 7");

    data.SynchronizeSegmentCounts();

    EXPECT_EQ(Counts(), (std::vector<int>{3, 3, 3, 3, 3}));
    EXPECT_EQ(data.m_pPositionY->GetValueInInternalUnit(2), 6.0);
    EXPECT_EQ(data.m_pPositionX->GetValueInInternalUnit(0), 1.0);
    EXPECT_EQ(data.m_pAcceleration->GetValueInInternalUnit(0), 0.0);
    EXPECT_EQ(data.m_pSpeed->GetValueInInternalUnit(2), 3.0);
}

TEST_F(SynchronizeSegmentCounts, GivesEmptyColumnsOneZeroSegment) {
    for (auto* column : {data.m_pPositionX, data.m_pPositionY, data.m_pPositionZ,
                         data.m_pAcceleration, data.m_pSpeed})
        Fill(column, "");

    data.SynchronizeSegmentCounts();

    EXPECT_EQ(Counts(), (std::vector<int>{1, 1, 1, 1, 1}));
    EXPECT_EQ(data.m_pPositionX->GetValueInInternalUnit(0), 0.0);
}

TEST_F(SynchronizeSegmentCounts, LengthensShortColumnsToTheSegmentCount) {
    Fill(data.m_pPositionX, "1 2 3 4");
    Fill(data.m_pPositionY, "1 2 3 4");
    Fill(data.m_pPositionZ, "9");
    Fill(data.m_pAcceleration, "5");
    Fill(data.m_pSpeed, "6 7");

    data.SynchronizeSegmentCounts();

    EXPECT_EQ(Counts(), (std::vector<int>{4, 4, 4, 4, 4}));
    EXPECT_EQ(data.m_pPositionZ->GetValueInInternalUnit(0), 9.0);
    EXPECT_EQ(data.m_pSpeed->GetValueInInternalUnit(1), 7.0);
    EXPECT_EQ(data.m_pSpeed->GetValueInInternalUnit(3), 0.0);
}

}  // namespace
