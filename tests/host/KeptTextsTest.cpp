// Texts an array keeps as a list shows its values: the save writes them only while they are
// still the values' texts, whatever changed the array since.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "host/CMC_ArrayParameter.h"
#include "host/CMC_Setup.h"
#include "host/CMC_Value.h"
#include "host/ShownTextCache.h"
#include "tests/support/TestProject.h"

namespace {
class KeptTexts : public ::testing::Test {
  protected:
    KeptTexts() { drive.SetUnits(TestDrive{}.Units()); }

    CMC_ArrayParameter Make(int type, const char* unit, const char* values) {
        CMC_ArrayParameter array(&drive);
        EXPECT_TRUE(
            array.InitializeMotionParam(type, "A", unit, values, MC_UNSET_LIMIT, MC_UNSET_LIMIT));
        return array;
    }

    // What the array saves when nothing was kept: the same type, unit and internal values in
    // an array that never showed them.
    std::string SavedFresh(const CMC_ArrayParameter& array) {
        CMC_ArrayParameter fresh(&drive);
        EXPECT_TRUE(fresh.InitializeMotionParam(array.GetType(), "A", array.GetUnitName(), "",
                                                MC_UNSET_LIMIT, MC_UNSET_LIMIT));
        fresh.SetValuesCount(array.GetValuesCount());
        for (int i = 0; i < array.GetValuesCount(); ++i)
            fresh.SetValueInInternalUnit(i, array.GetValueInInternalUnit(i));
        CString saved;
        fresh.SaveData(saved);
        return saved.str();
    }

    static std::string Saved(const CMC_ArrayParameter& array) {
        CString saved;
        array.SaveData(saved);
        return saved.str();
    }

    static void ShowAll(const CMC_ArrayParameter& array) {
        for (int i = 0; i < array.GetValuesCount(); ++i) array.KeptValueText(i);
    }

    // Every kept text is the value's text.
    static void ExpectKeptAsShown(const CMC_ArrayParameter& array) {
        for (int i = 0; i < array.GetValuesCount(); ++i)
            ASSERT_EQ(array.KeptValueText(i).Str(), array.ValueText(i).Str()) << "value " << i;
    }

    CMC_Setup drive{"drive"};
};
}  // namespace

TEST_F(KeptTexts, EveryChangeOfTheArrayIsSavedAsItsNewValues) {
    // 0.0175 mm is seven counts, shown as 0.018 and saved as read.
    const char* const values = "10 0.0175 -2.5 0.0175 7 10 0.0025 0";
    const std::vector<std::pair<const char*, std::function<void(CMC_ArrayParameter&)>>> changes = {
        {"a value in the unit", [](CMC_ArrayParameter& a) { a.SetValue(1, 0.02); }},
        {"a value in counts", [](CMC_ArrayParameter& a) { a.SetValueInInternalUnit(0, 3.0); }},
        {"an inserted value", [](CMC_ArrayParameter& a) { a.InsertValueAt(2, 0.0175); }},
        {"removed values", [](CMC_ArrayParameter& a) { a.RemoveValueAt(1, 3); }},
        {"a shorter list", [](CMC_ArrayParameter& a) { a.SetValuesCount(3); }},
        {"a longer list", [](CMC_ArrayParameter& a) { a.SetValuesCount(12); }},
        {"another unit", [](CMC_ArrayParameter& a) { EXPECT_TRUE(a.ChangeUnit("um")); }},
        {"another type", [](CMC_ArrayParameter& a) { a.SetNameAndType(VT_FIXED, "A"); }},
        {"other values read",
         [](CMC_ArrayParameter& a) {
             EXPECT_TRUE(a.InitializeMotionParam(VT_LONG, "A", "mm", "1 0.0175 3", MC_UNSET_LIMIT,
                                                 MC_UNSET_LIMIT));
         }},
    };
    for (const auto& [what, change] : changes) {
        SCOPED_TRACE(what);
        CMC_ArrayParameter array = Make(VT_LONG, "mm", values);
        ShowAll(array);
        change(array);
        // The same change to an array that showed nothing: no text kept for it.
        CMC_ArrayParameter unshown = Make(VT_LONG, "mm", values);
        change(unshown);
        EXPECT_EQ(Saved(array), Saved(unshown));
        ExpectKeptAsShown(array);
        EXPECT_EQ(Saved(array), Saved(unshown));
    }
}

TEST_F(KeptTexts, ValuesShownAgainOrNotAtAllSaveAsFormattedInFull) {
    CMC_ArrayParameter speeds = Make(VT_FIXED, "m/s", "0.05 0 0.1 0.05 0.0333 0 0.1 0.0333 0.05");
    // The list leaves a speed of zero empty, so those values are never shown.
    for (int i = 0; i < speeds.GetValuesCount(); ++i) {
        if (speeds.GetValueInInternalUnit(i) != 0.0) speeds.KeptValueText(i);
    }
    ExpectKeptAsShown(speeds);
    EXPECT_EQ(Saved(speeds), SavedFresh(speeds));
    EXPECT_EQ(Saved(speeds), "0.05 0 0.1 0.05 0.0333 0 0.1 0.0333 0.05");
}

TEST_F(KeptTexts, AValueIsNotTakenForTheOneShownBeforeInItsPlace) {
    CMC_ArrayParameter array = Make(VT_LONG, "mm", "1.25 2 1.25");
    array.KeptValueText(0);
    array.SetValue(0, 3);  // 1.25 was last shown at 0, which now shows 3
    EXPECT_EQ(array.KeptValueText(0).Str(), "3");
    EXPECT_EQ(array.KeptValueText(1).Str(), "2");
    EXPECT_EQ(array.KeptValueText(2).Str(), "1.25");
    EXPECT_EQ(Saved(array), "3 2 1.25");
}

TEST_F(KeptTexts, AnIndexOutsideTheArrayShowsZeroAndKeepsNothing) {
    CMC_ArrayParameter array = Make(VT_LONG, "mm", "1.25 2");
    array.SetValue(0, 3);  // no longer the list as read: the texts shown are kept
    EXPECT_EQ(array.KeptValueText(-1).Str(), "0");
    EXPECT_EQ(array.KeptValueText(2).Str(), "0");
    EXPECT_EQ(Saved(array), "3 2");
}

TEST(ShownTextCache, KeepsTextsInOrderWithGapsAndForgetsFromAChange) {
    ShownTextCache cache;
    cache.Keep(0, "1.5", 4);
    cache.Keep(2, "-0.25", 4);
    cache.Keep(2, "other", 4);  // an entry that exists stays
    ASSERT_EQ(cache.Count(), 3u);
    EXPECT_TRUE(cache.At(0).kept);
    EXPECT_EQ(cache.At(0).text, "1.5");
    EXPECT_FALSE(cache.At(1).kept) << "the gap";
    EXPECT_EQ(cache.At(2).text, "-0.25");
    EXPECT_FALSE(cache.At(3).kept);
    EXPECT_EQ(cache.Bytes(), 8u);

    cache.ForgetFrom(2);
    EXPECT_EQ(cache.Count(), 2u);
    EXPECT_EQ(cache.Bytes(), 3u);
    cache.Keep(2, "7", 4);
    EXPECT_EQ(cache.At(2).text, "7");
    EXPECT_EQ(cache.At(0).text, "1.5");
    cache.Clear();
    EXPECT_EQ(cache.Count(), 0u);
    EXPECT_FALSE(cache.At(0).kept);
}

TEST(ShownTextCache, RemembersATextByItsKeyUntilClearedOrItsSlotIsTaken) {
    ShownTextCache cache;
    EXPECT_EQ(cache.Recalled(15), "");
    cache.Remember(15, "1.5");
    cache.Remember(0, "0");
    cache.Remember(25, std::string(24, '9'));  // too long for a slot
    EXPECT_EQ(cache.Recalled(15), "1.5");
    EXPECT_EQ(cache.Recalled(0), "0");
    EXPECT_EQ(cache.Recalled(25), "");
    cache.ForgetFrom(0);
    EXPECT_EQ(cache.Recalled(15), "1.5") << "a text belongs to its value, not to an index";
    // Of any two keys in one slot, the later is recalled and the earlier is not.
    std::uint64_t other = 16;
    for (cache.Remember(other, "x"); cache.Recalled(15) == "1.5"; cache.Remember(++other, "x")) {
    }
    EXPECT_EQ(cache.Recalled(other), "x");
    cache.Clear();
    EXPECT_EQ(cache.Recalled(0), "");
}

// Values that never meet again make the memo rest, so that it is not written for nothing; it
// is tried again later, and values that repeat are then recalled as before.
TEST(ShownTextCache, AMemoThatSeldomFindsRestsAndIsTriedAgain) {
    ShownTextCache cache;
    std::uint64_t key = 1000;
    for (int i = 0; i < 4096; ++i, ++key) {
        EXPECT_EQ(cache.Recalled(key), "");
        cache.Remember(key, "x");
    }
    cache.Remember(7, "7");
    EXPECT_EQ(cache.Recalled(7), "") << "resting: neither written nor asked";
    int looks = 1;
    for (; looks < (1 << 20); ++looks) {
        cache.Remember(7, "7");
        if (!cache.Recalled(7).empty()) break;
    }
    EXPECT_GT(looks, 4096);
    EXPECT_LT(looks, 1 << 20) << "never tried again";
    for (int i = 0; i < 10000; ++i) ASSERT_EQ(cache.Recalled(7), "7") << i;
}
