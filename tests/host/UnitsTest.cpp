#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "host/CMC_Setup.h"
#include "host/CMC_Units.h"
#include "host/CMC_Value.h"

namespace {
CMC_Units DriveUnits(const char* positionUnit, double counts, double travel,
                     double sampleTime = 0.001) {
    return CMC_Units(DriveScale{positionUnit, counts, travel, sampleTime});
}

std::vector<std::string> Names(const std::vector<const CMC_Unit*>& units) {
    std::vector<std::string> names;
    for (const CMC_Unit* unit : units) names.push_back(unit->GetUnitName().str());
    return names;
}

double Converted(const CMC_Units& units, double v, const char* from, const char* to) {
    EXPECT_TRUE(units.Convert(v, from, to)) << from << " -> " << to;
    return v;
}
}  // namespace

TEST(Units, TenCountsPerThreeMillimetresReadBackInMetres) {
    CMC_Setup drive("drive");
    drive.SetUnits(DriveUnits("mm", 10, 3));
    CMC_Variable& tpos = drive.AddVariable("TPOS", "mm", VT_LONG);
    tpos.SetValueInInternalUnit(1000.0);
    EXPECT_NEAR(tpos.GetValueInBaseUnit(), 0.3, 1e-15);
}

TEST(Units, InternalUnitsFollowTheDrive) {
    const CMC_Units units = DriveUnits("mm", 2000, 5, 0.001);
    // 1 IU = 0.0025 mm; speed per 1 ms sample, acceleration per sample squared.
    EXPECT_DOUBLE_EQ(Converted(units, 400, "IU", "mm"), 1.0);
    EXPECT_DOUBLE_EQ(Converted(units, 1, "IU/Ts", "mm/s"), 2.5);
    EXPECT_DOUBLE_EQ(Converted(units, 1, "IU/Ts^2", "m/s^2"), 2.5);
    EXPECT_EQ(units.FindBaseUnit("IU")->GetUnitName(), "m");
    EXPECT_EQ(units.FindBaseUnit("IU/Ts")->GetUnitName(), "m/s");
    EXPECT_EQ(units.FindBaseUnit("IU/Ts^2")->GetUnitName(), "m/s^2");
}

TEST(Units, MetricAndImperialLengthsConvertButKeepTheirBases) {
    const CMC_Units units = DriveUnits("in", 1000, 1);
    EXPECT_TRUE(units.CompatibleUnits("mm", "in"));
    EXPECT_DOUBLE_EQ(Converted(units, 1, "in", "mm"), 25.4);
    EXPECT_EQ(Converted(units, 1000, "mil", "in"), 1.0);
    EXPECT_DOUBLE_EQ(Converted(units, 1, "mil", "mm"), 0.0254);
    EXPECT_DOUBLE_EQ(Converted(DriveUnits("mil", 1000, 1), 1000, "IU", "mm"), 0.0254);
    EXPECT_EQ(Converted(units, 1000, "IU", "in"), 1.0);
    EXPECT_DOUBLE_EQ(Converted(units, 1000, "IU", "mm"), 25.4);
    EXPECT_EQ(units.FindBaseUnit("IU")->GetUnitName(), "in");
    EXPECT_EQ(units.FindBaseUnit("in/s")->GetUnitName(), "in/s");
    EXPECT_FALSE(*units.FindBaseUnit("mm") == *units.FindBaseUnit("mil"));
}

TEST(Units, RotaryDrive) {
    const CMC_Units units = DriveUnits("rot", 4000, 1, 0.001);
    EXPECT_DOUBLE_EQ(Converted(units, 1000, "IU", "deg"), 90.0);
    EXPECT_DOUBLE_EQ(Converted(units, 1, "rot", "rad"), 2 * std::numbers::pi);
    // 1 IU/Ts = 1/4000 rotation per ms = 0.25 rot/s = 15 rpm.
    EXPECT_DOUBLE_EQ(Converted(units, 1, "IU/Ts", "rpm"), 15.0);
    EXPECT_TRUE(units.CompatibleUnits("rad", "IU"));
    EXPECT_FALSE(units.CompatibleUnits("mm", "IU"));
    EXPECT_FALSE(units.CompatibleUnits("rad", "rad/s"));
    EXPECT_EQ(units.FindBaseUnit("IU/Ts^2")->GetUnitName(), "rad/s^2");
}

TEST(Units, WithoutDriveInternalUnitsStandAlone) {
    for (const CMC_Units& units :
         {CMC_Units(), DriveUnits("", 10, 3), DriveUnits("mm", 0, 3), DriveUnits("mm/s", 10, 3)}) {
        EXPECT_TRUE(units.CompatibleUnits("IU", "IU"));
        EXPECT_FALSE(units.CompatibleUnits("IU", "IU/Ts"));
        EXPECT_FALSE(units.CompatibleUnits("IU", "mm"));
        EXPECT_EQ(Names(units.GetCompatibleUnits("IU")), std::vector<std::string>{"IU"});
        EXPECT_EQ(units.FindBaseUnit("IU")->GetUnitName(), "IU");
        EXPECT_TRUE(units.CompatibleUnits("mm", "in"));
    }
}

// Internal units so small or large that values would turn into zero, infinity or NaN on their
// way to physical units are units of no drive: nothing is converted through them.
TEST(Units, ScalesNoValueCanCrossGiveInternalUnitsOfNoDrive) {
    const double nan = std::nan("");
    for (const CMC_Units& units :
         {DriveUnits("mm", 2000, 5, 1e-160), DriveUnits("mm", 2000, 5, 1e300),
          DriveUnits("m", 1, 1e300), DriveUnits("um", 1e300, 1), DriveUnits("mm", 2000, nan),
          DriveUnits("mm", 2000, 5, -0.001)}) {
        EXPECT_FALSE(units.CompatibleUnits("IU", "mm"));
        EXPECT_FALSE(units.CompatibleUnits("IU/Ts", "m/s"));
        EXPECT_FALSE(units.CompatibleUnits("IU/Ts^2", "m/s^2"));
        EXPECT_FALSE(units.IsUsableUnit("m/s^2"));
    }
}

TEST(Units, TheExtremesOfARealDriveAreCarried) {
    const CMC_Units fine = DriveUnits("um", 2147483648.0, 1e-6, 1.0);
    const CMC_Units coarse = DriveUnits("rot", 1, 1e6, 1e-6);
    const double fineStep = Converted(fine, 1, "IU/Ts^2", "m/s^2");
    const double coarseStep = Converted(coarse, 2147483647, "IU/Ts^2", "rad/s^2");
    EXPECT_GT(fineStep, 0.0);
    EXPECT_TRUE(std::isfinite(coarseStep));
}

TEST(Units, UnknownNamesAreCompatibleWithNothing) {
    const CMC_Units units = DriveUnits("mm", 10, 3);
    EXPECT_FALSE(units.CompatibleUnits("furlong", "furlong"));
    EXPECT_FALSE(units.CompatibleUnits("", ""));
    EXPECT_FALSE(units.CompatibleUnits(nullptr, "mm"));
    EXPECT_EQ(units.FindBaseUnit("furlong"), nullptr);
    EXPECT_EQ(units.FindBaseUnit(""), nullptr);
    EXPECT_TRUE(units.GetCompatibleUnits("furlong").empty());
    double v = 5;
    EXPECT_FALSE(units.Convert(v, "mm", "rad"));
    EXPECT_EQ(v, 5);
}

TEST(Units, CompatibleUnitsListTheFamilyWithTheInternalUnitLast) {
    const CMC_Units units = DriveUnits("mm", 10, 3);
    EXPECT_EQ(Names(units.GetCompatibleUnits("mm")),
              (std::vector<std::string>{"m", "mm", "um", "in", "mil", "IU"}));
    EXPECT_EQ(Names(units.GetCompatibleUnits("IU/Ts")),
              (std::vector<std::string>{"m/s", "mm/s", "in/s", "IU/Ts"}));
    EXPECT_EQ(Names(units.GetCompatibleUnits("rpm")),
              (std::vector<std::string>{"rad/s", "rot/s", "rpm"}));
}

TEST(Units, StaticNameLookups) {
    EXPECT_EQ(CMC_Units::GetIUOfUnit("mm"), "IU");
    EXPECT_EQ(CMC_Units::GetIUOfUnit("rpm"), "IU/Ts");
    EXPECT_EQ(CMC_Units::GetIUOfUnit("in/s^2"), "IU/Ts^2");
    EXPECT_EQ(CMC_Units::GetIUOfUnit("IU/Ts"), "IU/Ts");
    EXPECT_EQ(CMC_Units::GetIUOfUnit(""), "");
    EXPECT_EQ(CMC_Units::GetIUOfUnit("furlong"), "");
    EXPECT_EQ(CMC_Units::DumpIUOfUnit("mm"), "m");
    EXPECT_EQ(CMC_Units::DumpIUOfUnit("mil"), "in");
    EXPECT_EQ(CMC_Units::DumpIUOfUnit("deg"), "rad");
    EXPECT_EQ(CMC_Units::DumpIUOfUnit("rpm"), "rad/s");
    EXPECT_EQ(CMC_Units::DumpIUOfUnit("furlong"), "furlong");
}

TEST(Units, VariableWithoutConvertibleUnitReadsZeroInBaseUnit) {
    CMC_Setup controller("controller");
    CMC_Variable& tpos = controller.AddVariable("TPOS", "mm", VT_LONG);
    tpos.SetValueInInternalUnit(1000.0);
    EXPECT_EQ(tpos.GetValueInBaseUnit(), 0.0);
    CMC_Variable& plain = controller.AddVariable("COUNT", "", VT_LONG);
    plain.SetValueInInternalUnit(7.4);
    EXPECT_EQ(plain.GetValueInBaseUnit(), 7.0);
}
