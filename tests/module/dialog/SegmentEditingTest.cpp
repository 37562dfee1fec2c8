#include <gtest/gtest.h>

#include "EditorSession.h"

namespace {

class SegmentEditing : public ::testing::Test {
  protected:
    // Runs script on the three-segment element, then dumps.
    DialogState After(const std::string& script, const std::string& element = kThreeSegments) {
        last = session.Run(element, script + "\ndump\n");
        EXPECT_EQ(last.error, "");
        return last.dumps.back();
    }

    static std::vector<std::string> XColumn(const DialogState& state) {
        std::vector<std::string> xs;
        for (const std::string& row : state.Items("IDC_SEGMENT_LIST"))
            xs.push_back(row.substr(0, 11).substr(row.substr(0, 11).find_first_not_of(' ')));
        return xs;
    }

    EditorSession session;
    EditorRun last;
};

TEST_F(SegmentEditing, BrowsingEnablesTheButtonsThatCanAct) {
    const DialogState first = After("");
    EXPECT_FALSE(first.Enabled("IDC_PREVIOUS"));
    EXPECT_FALSE(first.Enabled("IDC_MOVE_UP"));
    EXPECT_TRUE(first.Enabled("IDC_NEXT"));
    EXPECT_TRUE(first.Enabled("IDC_MOVE_DOWN"));
    EXPECT_TRUE(first.Enabled("IDC_REMOVE"));

    const DialogState middle = After("click IDC_NEXT");
    for (const char* name : {"IDC_PREVIOUS", "IDC_NEXT", "IDC_MOVE_UP", "IDC_MOVE_DOWN"})
        EXPECT_TRUE(middle.Enabled(name)) << name;
    EXPECT_EQ(middle.Text("IDC_POSITION_X"), "20");
    EXPECT_EQ(middle.Focus(), IDC_POSITION_X);

    const DialogState atEnd = After(
        "click IDC_NEXT\nclick IDC_NEXT\nclick IDC_PREVIOUS\n"
        "click IDC_NEXT");
    EXPECT_EQ(atEnd.Selection("IDC_SEGMENT_LIST"), 2);
    EXPECT_FALSE(atEnd.Enabled("IDC_NEXT"));
    EXPECT_FALSE(atEnd.Enabled("IDC_MOVE_DOWN"));
    EXPECT_TRUE(atEnd.Enabled("IDC_PREVIOUS"));
}

TEST_F(SegmentEditing, ClickingARowMakesItCurrent) {
    const DialogState state = After("select IDC_SEGMENT_LIST 2");
    EXPECT_EQ(state.Text("IDC_POSITION_X"), "30");
    EXPECT_EQ(state.Text("IDC_ACCELERATION"), "2");
    EXPECT_TRUE(state.Checked("IDC_ACCELERATION_CHECK"));
    EXPECT_FALSE(state.Checked("IDC_SPEED_CHECK"));
    EXPECT_FALSE(state.Enabled("IDC_SPEED"));
    EXPECT_EQ(state.Focus(), IDC_POSITION_X);
}

TEST_F(SegmentEditing, InsertAboveAndBelowPlaceTheNewSegmentAndMakeItCurrent) {
    const DialogState above = After("type IDC_POSITION_X 5\nclick IDC_INSERT_ABOVE");
    EXPECT_EQ(XColumn(above), (std::vector<std::string>{"5", "10", "20", "30"}));
    EXPECT_EQ(above.Selection("IDC_SEGMENT_LIST"), 0);
    EXPECT_EQ(above.Text("IDC_POSITION_X"), "5");

    const DialogState below =
        After("select IDC_SEGMENT_LIST 2\ntype IDC_POSITION_X 40\nclick IDC_INSERT_BELOW");
    EXPECT_EQ(XColumn(below), (std::vector<std::string>{"10", "20", "30", "40"}));
    EXPECT_EQ(below.Selection("IDC_SEGMENT_LIST"), 3);
}

TEST_F(SegmentEditing, UncheckedAccelerationStoresZero) {
    const DialogState state = After(
        "type IDC_ACCELERATION 7\nclick IDC_ACCELERATION_CHECK\n"
        "click IDC_INSERT_BELOW");
    EXPECT_FALSE(state.Checked("IDC_ACCELERATION_CHECK"));
    const std::string row = state.Items("IDC_SEGMENT_LIST").at(1);
    EXPECT_EQ(row.substr(36, 15), std::string(15, ' '));
}

TEST_F(SegmentEditing, EditWithoutANumberChangesNothing) {
    for (const char* text : {"", "abc", "nan"}) {
        const DialogState state =
            After(std::string("type IDC_POSITION_Y ") + text + "\nclick IDC_INSERT_ABOVE");
        EXPECT_EQ(state.Items("IDC_SEGMENT_LIST").size(), 3u) << text;
        EXPECT_EQ(state.Focus(), IDC_INSERT_ABOVE) << text;  // the button keeps the focus it got
    }
}

TEST_F(SegmentEditing, TypedValuesAreRoundedAndClampedForTheColumn) {
    const DialogState state = After(
        "type IDC_POSITION_X 12.34567abc\ntype IDC_POSITION_Y 1e12\n"
        "type IDC_POSITION_Z -inf\nclick IDC_INSERT_ABOVE");
    EXPECT_EQ(state.Text("IDC_POSITION_X"), "12.346");
    EXPECT_EQ(state.Text("IDC_POSITION_Y"), "2147483.647");
    EXPECT_EQ(state.Text("IDC_POSITION_Z"), "-2147483.648");
}

TEST_F(SegmentEditing, UpdateOverwritesTheCurrentSegmentFromButtonOrCommand) {
    const DialogState button = After("click IDC_NEXT\ntype IDC_POSITION_X 21\nclick IDC_UPDATE");
    EXPECT_EQ(XColumn(button), (std::vector<std::string>{"10", "21", "30"}));
    EXPECT_EQ(button.Selection("IDC_SEGMENT_LIST"), 1);

    const DialogState command = After("type IDC_POSITION_X 11\ncommand ID_UPDATE_SEGMENT");
    EXPECT_EQ(XColumn(command), (std::vector<std::string>{"11", "20", "30"}));
}

TEST_F(SegmentEditing, MovesExchangeSegmentsAndFollowTheMovedOne) {
    const DialogState up = After("select IDC_SEGMENT_LIST 2\nclick IDC_MOVE_UP");
    EXPECT_EQ(XColumn(up), (std::vector<std::string>{"10", "30", "20"}));
    EXPECT_EQ(up.Selection("IDC_SEGMENT_LIST"), 1);
    EXPECT_EQ(up.Text("IDC_ACCELERATION"), "2");

    const DialogState down = After("click IDC_MOVE_DOWN");
    EXPECT_EQ(XColumn(down), (std::vector<std::string>{"20", "10", "30"}));
    EXPECT_EQ(down.Selection("IDC_SEGMENT_LIST"), 1);
}

TEST_F(SegmentEditing, MovedSegmentsKeepTheTextsTheyWereReadWith) {
    const std::string written =
        "ProfileType=1\nConfigureMode=1\nClearBuffer=1\nInsertEndSegment=1\n"
        "SlaveX=0\nSlaveY=1\nSlaveZ=2\n"
        "X_TPOS[mm]=10.000 20.0 3e1\nY_TPOS[mm]=1.0 2 3.00\nZ_TPOS[mm]=0 0.0 0\n"
        "CACC[m/s^2]=1.0 0 2.0\nCSPD[m/s]=0.50 0.5 0\nExecute=0\nWaitForCompletion=1\n";
    const EditorRun up = session.Run(written, "select IDC_SEGMENT_LIST 2\nclick IDC_MOVE_UP\nok\n");
    ASSERT_EQ(up.error, "");
    EXPECT_EQ(up.text,
              "ProfileType=1\nConfigureMode=1\nClearBuffer=1\nInsertEndSegment=1\n"
              "SlaveX=0\nSlaveY=1\nSlaveZ=2\n"
              "X_TPOS[mm]=10.000 3e1 20.0\nY_TPOS[mm]=1.0 3.00 2\nZ_TPOS[mm]=0 0 0.0\n"
              "CACC[m/s^2]=1.0 2.0 0\nCSPD[m/s]=0.50 0 0.5\nExecute=0\nWaitForCompletion=1\n");

    const EditorRun there = session.Run(written, "click IDC_MOVE_DOWN\nclick IDC_MOVE_UP\nok\n");
    ASSERT_EQ(there.error, "");
    EXPECT_EQ(there.text, written) << "moved down and back up";
}

TEST_F(SegmentEditing, RemoveKeepsTheFollowingOrNewLastSegmentCurrent) {
    const DialogState middle = After("click IDC_NEXT\nclick IDC_REMOVE");
    EXPECT_EQ(XColumn(middle), (std::vector<std::string>{"10", "30"}));
    EXPECT_EQ(middle.Text("IDC_POSITION_X"), "30");

    const DialogState atEnd = After("select IDC_SEGMENT_LIST 2\nclick IDC_REMOVE");
    EXPECT_EQ(atEnd.Selection("IDC_SEGMENT_LIST"), 1);

    const DialogState one = After("click IDC_REMOVE\nclick IDC_REMOVE");
    for (const char* name :
         {"IDC_REMOVE", "IDC_PREVIOUS", "IDC_NEXT", "IDC_MOVE_UP", "IDC_MOVE_DOWN"})
        EXPECT_FALSE(one.Enabled(name)) << name;
    // A command that bypasses the disabled button still cannot empty the table.
    EXPECT_EQ(After("click IDC_REMOVE\nclick IDC_REMOVE\ncommand IDC_REMOVE")
                  .Items("IDC_SEGMENT_LIST")
                  .size(),
              1u);
}

TEST_F(SegmentEditing, EditedTableIsWrittenOnOk) {
    const EditorRun run =
        session.Run(kThreeSegments,
                    "select IDC_SEGMENT_LIST 2\ntype IDC_POSITION_X 40\ntype IDC_POSITION_Y 4\n"
                    "type IDC_POSITION_Z 0.5\nclick IDC_SPEED_CHECK\ntype IDC_SPEED 0.25\n"
                    "click IDC_INSERT_BELOW\nclick IDC_MOVE_UP\nok\n");
    ASSERT_EQ(run.error, "");
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(run.text,
              "ProfileType=1\nConfigureMode=1\nClearBuffer=1\nInsertEndSegment=1\n"
              "SlaveX=0\nSlaveY=1\nSlaveZ=2\n"
              "X_TPOS[mm]=10 20 40 30\nY_TPOS[mm]=1 2 4 3\nZ_TPOS[mm]=0 0 0.5 0\n"
              "CACC[m/s^2]=1 0 2 2\nCSPD[m/s]=0.5 0.5 0.25 0\nExecute=0\nWaitForCompletion=1\n");
}

}  // namespace
