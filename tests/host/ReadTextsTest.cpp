// A value whose count did not change is saved with the text it was read with; a changed one
// with the fewest digits that read back to its count.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "host/CMC_ArrayParameter.h"
#include "host/CMC_Setup.h"
#include "host/CMC_Value.h"
#include "host/ReadTexts.h"

namespace {
class ReadValueTexts : public ::testing::Test {
  protected:
    ReadValueTexts() {
        binary.SetUnits(CMC_Units(DriveScale{"mm", 4096, 4, 0.001}));
        hundredths.SetUnits(CMC_Units(DriveScale{"mm", 2000, 20, 0.001}));
    }

    static CMC_ArrayParameter Make(CMC_Setup& setup, int type, const char* unit,
                                   const char* values) {
        CMC_ArrayParameter array(&setup);
        EXPECT_TRUE(
            array.InitializeMotionParam(type, "A", unit, values, MC_UNSET_LIMIT, MC_UNSET_LIMIT));
        return array;
    }

    static std::string Saved(const CMC_ArrayParameter& array) {
        CString saved;
        array.SaveData(saved);
        return saved.str();
    }

    CMC_Setup binary{"1/1024mm"};  // 0.794 mm is 813 counts, exactly 0.7939453125 mm
    CMC_Setup hundredths{"0.01mm"};
};
}  // namespace

TEST_F(ReadValueTexts, AnUnchangedListSavesByteForByteAsItWasRead) {
    const char* const positions = "0.794  1e-9\t+5 -0.0 0.7939453125 007 3.14159265358979323846 .5";
    EXPECT_EQ(Saved(Make(binary, VT_LONG, "mm", positions)), positions);
    // 160813.575 in lies exactly half a count of 0.01 mm from two counts; long texts stay long.
    const char* const inches = "160813.575 0.0001 1.2345678901234567 -3";
    EXPECT_EQ(Saved(Make(hundredths, VT_LONG, "in", inches)), inches);
    EXPECT_EQ(Saved(Make(binary, VT_FIXED, "m/s", "0.05 0.0333 1e-3")), "0.05 0.0333 1e-3");
    EXPECT_EQ(Saved(Make(binary, VT_LONG, "IU", "4.0e3 12")), "4.0e3 12");
    EXPECT_EQ(Saved(Make(binary, VT_NONE, "", "0.10 2")), "0.10 2");
    // Blanks around the list are not the values' texts.
    EXPECT_EQ(Saved(Make(binary, VT_LONG, "mm", "  1.50 2 ")), "1.50 2");
}

TEST_F(ReadValueTexts, AValueSetToTheSameCountKeepsItsText) {
    CMC_ArrayParameter array = Make(binary, VT_LONG, "mm", "0.794 1e-9 5");
    array.SetValue(0, 0.7939);             // still 813 counts
    array.SetValueInInternalUnit(1, 0.0);  // the count it was read as
    array.SetValue(2, 5.0);
    EXPECT_EQ(Saved(array), "0.794 1e-9 5");
    for (int i = 0; i < array.GetValuesCount(); ++i) array.KeptValueText(i);
    EXPECT_EQ(Saved(array), "0.794 1e-9 5") << "after a list showed the values";
}

TEST_F(ReadValueTexts, ChangedValuesTakeTheFewestDigitsAndTheOthersKeepTheirTexts) {
    CMC_ArrayParameter array = Make(binary, VT_LONG, "mm", "0.794 1e-9 5.000 -2.50");
    array.SetValue(1, 0.7939453125);  // 813 counts, now at a value read as 0
    EXPECT_EQ(Saved(array), "0.794 0.794 5.000 -2.50");
    array.InsertValueAt(0, 1.0 / 3);
    EXPECT_EQ(Saved(array), "0.333 0.794 0.794 5.000 -2.50");
    array.RemoveValueAt(1, 2);
    EXPECT_EQ(Saved(array), "0.333 5.000 -2.50");
    array.SetValuesCount(5);
    EXPECT_EQ(Saved(array), "0.333 5.000 -2.50 0 0");
    array.SetValuesCount(2);
    EXPECT_EQ(Saved(array), "0.333 5.000");
    array.SetNameAndType(VT_LONG, "B");
    EXPECT_EQ(Saved(array), "0.333 5.000") << "the same type keeps the texts";
    ASSERT_TRUE(array.ChangeUnit("um"));
    EXPECT_EQ(Saved(array), "333 5000") << "texts in another unit";

    CMC_ArrayParameter typed = Make(binary, VT_LONG, "mm", "0.794");
    typed.SetNameAndType(VT_FIXED, "A");
    EXPECT_EQ(Saved(typed), typed.PrintValue(0).str()) << "813 counts of fixed point";
    EXPECT_NE(Saved(typed), "0.794");
    typed.SetValue(0, 0.79394);
    EXPECT_EQ(Saved(typed), "0.79394") << "another count of the new type";
}

TEST_F(ReadValueTexts, SwappedValuesTakeTheirTextsAlong) {
    const char* const read = "0.794 1e-9  5.000 -2.50";
    CMC_ArrayParameter array = Make(binary, VT_LONG, "mm", read);
    array.SwapValues(0, 3);
    EXPECT_EQ(Saved(array), "-2.50 1e-9 5.000 0.794");
    array.SwapValues(3, 0);
    EXPECT_EQ(Saved(array), read) << "back in place, the list as read";
    array.SwapValues(0, 4);
    array.SwapValues(-1, 0);
    EXPECT_EQ(Saved(array), read) << "indexes outside change nothing";

    array.SetValue(1, 1.0 / 3);
    array.SwapValues(1, 2);
    EXPECT_EQ(Saved(array), "0.794 5.000 0.333 -2.50") << "a changed value has no text to take";
}

TEST_F(ReadValueTexts, AChangedValueHalfACountFromTwoCountsTakesTheTieText) {
    CMC_ArrayParameter array = Make(hundredths, VT_LONG, "in", "1");
    array.SetValue(0, 160813.575);  // 408466480.5 counts, rounded away from zero
    ASSERT_EQ(array.GetValueInInternalUnit(0), 408466481.0);
    EXPECT_EQ(Saved(array), "160813.575");
}

namespace {
// What the runs should say: each value's read token, or "" for none.
std::vector<std::string> Walked(const ReadTexts& texts, size_t count) {
    ReadTexts::Walk walk(texts);
    std::vector<std::string> tokens;
    for (size_t i = 0; i < count; ++i) tokens.emplace_back(walk.TextOf(i));
    return tokens;
}
}  // namespace

TEST(ReadTexts, FollowsEveryEditOfTheValuesInOrder) {
    std::mt19937_64 random(8);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::string> model;
        std::string list;
        const size_t count = 1 + random() % 30;
        for (size_t i = 0; i < count; ++i) {
            model.push_back("v" + std::to_string(i));
            list += (i > 0 ? (random() % 3 == 0 ? " \t " : " ") : "") + model.back();
        }
        ReadTexts texts;
        texts.Keep(list, count);
        ASSERT_TRUE(texts.HoldsAll(model.size()));
        for (int edit = 0; edit < 12; ++edit) {
            const size_t at = model.empty() ? 0 : random() % (model.size() + 1);
            switch (random() % 5) {
                case 0:
                    texts.Insert(at);
                    model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), "");
                    break;
                case 1: {
                    const size_t n = std::min<size_t>(1 + random() % 4, model.size() - at);
                    texts.Remove(at, n);
                    model.erase(model.begin() + static_cast<std::ptrdiff_t>(at),
                                model.begin() + static_cast<std::ptrdiff_t>(at + n));
                    break;
                }
                case 2:
                    if (at == model.size()) break;
                    texts.Drop(at);
                    model[at].clear();
                    break;
                case 3: {
                    if (model.empty()) break;
                    const size_t other = random() % model.size();
                    const size_t one = std::min(at, model.size() - 1);
                    texts.Swap(one, other);
                    std::swap(model[one], model[other]);
                    break;
                }
                default: {
                    const size_t size = random() % (model.size() + 4);
                    texts.Resize(size);
                    model.resize(size);
                }
            }
            ASSERT_EQ(Walked(texts, model.size()), model) << "round " << round << " edit " << edit;
        }
        const bool allRead =
            !model.empty() && model.size() == count &&
            std::all_of(model.begin(), model.end(), [&, i = 0](const std::string& t) mutable {
                return t == "v" + std::to_string(i++);
            });
        EXPECT_EQ(texts.HoldsAll(model.size()), allRead) << "round " << round;
    }
}
