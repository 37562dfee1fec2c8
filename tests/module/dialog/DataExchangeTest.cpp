#include <gtest/gtest.h>

#include <algorithm>

#include "EditorSession.h"

namespace {

class DataExchange : public ::testing::Test {
  protected:
    EditorRun Run(const std::string& script, const std::string& element = kThreeSegments) {
        EditorRun run = session.Run(element, script);
        EXPECT_EQ(run.error, "");
        return run;
    }
    DialogState After(const std::string& script, const std::string& element = kThreeSegments) {
        return Run(script + "\ndump\n", element).dumps.back();
    }
    static int IndexOf(const std::vector<std::string>& items, const std::string& item) {
        auto it = std::find(items.begin(), items.end(), item);
        EXPECT_NE(it, items.end()) << item;
        return static_cast<int>(it - items.begin());
    }

    EditorSession session;
};

// The unusable slave is named when the dialog opens, then again by OK.
const std::vector<std::string> kUnusableSlaveYThenOk = {
    "exclamation: The element could not be read as it stands:\nInvalid value of SlaveY!\nThe "
    "dialog shows what could be read; OK writes what it shows.",
    "exclamation: Please select a slave axis!"};

TEST_F(DataExchange, OkRefusesAMissingSlaveAxisOnItsComboBox) {
    const std::string element = std::string("SlaveY=3\n") + kThreeSegments;  // open position
    const EditorRun run = Run("ok\ndump\n", element);
    EXPECT_EQ(run.result, 0);
    const DialogState& state = run.dumps.back();
    EXPECT_EQ(state.Messages(), kUnusableSlaveYThenOk);
    EXPECT_EQ(state.Focus(), IDC_SLAVE_Y);
    EXPECT_EQ(state.Items("IDC_SLAVE_X"), (std::vector<std::string>{"1", "2", "3"}));
}

TEST_F(DataExchange, OkRefusesAMissingSlaveAxisAlsoOnItsDisabledComboBox) {
    // Without "Set X, Y and Z axes" the combo boxes are disabled, yet OK names the one to
    // correct by giving it the focus.
    const std::string element = std::string("ConfigureMode=0\nSlaveY=3\n") + kThreeSegments;
    const DialogState state = Run("ok\ndump\n", element).dumps.back();
    EXPECT_FALSE(state.Enabled("IDC_SLAVE_Y"));
    EXPECT_EQ(state.Messages(), kUnusableSlaveYThenOk);
    EXPECT_EQ(state.Focus(), IDC_SLAVE_Y);
}

TEST_F(DataExchange, SlavesWithoutAnAxisLetterAreNotOffered) {
    session.project.AddSlaves(24, TestDrive{});  // slaves 4 to 27, axis ids 5 to 28
    const EditorRun run = Run("ok\ndump\n", std::string("SlaveY=26\n") + kThreeSegments);
    const DialogState& state = run.dumps.back();
    for (const char* combo : {"IDC_SLAVE_X", "IDC_SLAVE_Y", "IDC_SLAVE_Z"}) {
        const std::vector<std::string> items = state.Items(combo);
        EXPECT_EQ(items.size(), 25u) << combo;  // slaves 0 to 25 but the open-position one
        EXPECT_EQ(items.back(), "26") << combo;
    }
    EXPECT_EQ(run.result, 0) << "what translate refuses, OK refuses";
    EXPECT_EQ(state.Messages(), kUnusableSlaveYThenOk);
}

TEST_F(DataExchange, UnitsTheColumnsCannotHonourAreNotTakenAsCounts) {
    const TestDrive imperial{"in", 1000, 0.2, 0.001, true};
    session.project.AddSlave(5, &imperial);  // slave 4
    const std::string element =
        "ProfileType=0\nConfigureMode=1\nSlaveX=0\nSlaveY=4\nX_TPOS[mm]=10 0 -10\n"
        "Y_TPOS[]=0 40 0\nCACC[]=0 0 0\nCSPD[]=0 0 0\nExecute=0\n";
    const EditorRun run = Run("dump\nok\n", element);
    const DialogState& state = run.dumps.front();
    EXPECT_EQ(state.Text("IDC_LIST_HEADER").substr(0, 11), "        X[]");
    for (const std::string& row : state.Items("IDC_SEGMENT_LIST"))
        EXPECT_EQ(row.find("10"), std::string::npos) << row;
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(run.text, element);
}

TEST_F(DataExchange, OkRefusesEqualSlaveAxes) {
    const DialogState y = Run("select IDC_SLAVE_Y 0\nok\ndump\n").dumps.back();
    EXPECT_EQ(y.Messages(),
              (std::vector<std::string>{"exclamation: Please select distinct slave axis!"}));
    EXPECT_EQ(y.Focus(), IDC_SLAVE_Y);

    const DialogState z = Run("select IDC_SLAVE_Z 1\nok\ndump\n").dumps.back();
    EXPECT_EQ(z.Focus(), IDC_SLAVE_Z);

    // In the 2D profile Z is not compared.
    const EditorRun flat =
        Run("select IDC_PROFILE_TYPE 0\nok\n", std::string("SlaveZ=0\n") + kThreeSegments);
    EXPECT_EQ(flat.result, 1);
}

TEST_F(DataExchange, OkRefusesASegmentWithoutMovementAndShowsIt) {
    const EditorRun run =
        Run("select IDC_SEGMENT_LIST 1\ntype IDC_POSITION_X 0\ntype IDC_POSITION_Y 0\n"
            "click IDC_UPDATE\nselect IDC_SEGMENT_LIST 2\nok\ndump\n");
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(run.text, kThreeSegments);
    const DialogState& state = run.dumps.back();
    EXPECT_EQ(state.Messages(),
              (std::vector<std::string>{"none: Illegal position increment values!\n"
                                        "Segments cannot have all increments equal to 0."}));
    EXPECT_EQ(state.Selection("IDC_SEGMENT_LIST"), 1);
    EXPECT_EQ(state.Text("IDC_POSITION_X"), "0");
}

TEST_F(DataExchange, EnterWalksThroughTheIncrementsThenInserts) {
    const EditorRun run =
        Run("focus IDC_POSITION_X\nenter\ndump\nenter\ndump\ntype IDC_POSITION_Z 9\nenter\ndump\n");
    EXPECT_EQ(run.dumps[0].Focus(), IDC_POSITION_Y);
    EXPECT_EQ(run.dumps[1].Focus(), IDC_POSITION_Z);
    EXPECT_EQ(run.dumps[2].Items("IDC_SEGMENT_LIST").size(), 4u);
    EXPECT_EQ(run.dumps[2].Selection("IDC_SEGMENT_LIST"), 1);
    EXPECT_EQ(run.dumps[2].Text("IDC_POSITION_Z"), "9");

    // Without a Z edit, Enter in Y inserts.
    const DialogState flat =
        After("focus IDC_POSITION_Y\nenter", std::string("ProfileType=0\n") + kThreeSegments);
    EXPECT_EQ(flat.Items("IDC_SEGMENT_LIST").size(), 4u);
}

TEST_F(DataExchange, UnitChangeConvertsAnUntouchedEditAndKeepsATypedOne) {
    const std::vector<std::string> units = After("").Items("IDC_POSITION_X_UNIT");
    const int um = IndexOf(units, "um");

    const DialogState untouched = After("select IDC_POSITION_X_UNIT " + std::to_string(um));
    EXPECT_EQ(untouched.Text("IDC_POSITION_X"), "10000");
    EXPECT_EQ(untouched.Text("IDC_LIST_HEADER").substr(0, 11), "      X[um]");
    EXPECT_EQ(untouched.Items("IDC_SEGMENT_LIST").at(1).substr(0, 11), "      20000");

    const DialogState typed =
        After("type IDC_POSITION_X 7\nselect IDC_POSITION_X_UNIT " + std::to_string(um));
    EXPECT_EQ(typed.Text("IDC_POSITION_X"), "7");

    const EditorRun written = Run("select IDC_POSITION_X_UNIT " + std::to_string(um) + "\nok\n");
    EXPECT_NE(written.text.find("X_TPOS[um]=10000 20000 30000\n"), std::string::npos);
}

TEST_F(DataExchange, ConfigurationChecksDriveTheirDependentControls) {
    const DialogState off = After(
        "click IDC_CONFIGURE_MODE\nclick IDC_INSERT_END_SEGMENT\n"
        "click IDC_NEXT");
    EXPECT_FALSE(off.Enabled("IDC_CLEAR_BUFFER"));
    EXPECT_FALSE(off.Checked("IDC_CLEAR_BUFFER"));
    EXPECT_FALSE(off.Enabled("IDC_SLAVE_X"));
    EXPECT_FALSE(off.Enabled("IDC_SLAVE_Z"));
    EXPECT_FALSE(off.Enabled("IDC_WAIT_FOR_COMPLETION"));

    const EditorRun run = Run("click IDC_CONFIGURE_MODE\nclick IDC_INSERT_END_SEGMENT\nok\n");
    EXPECT_NE(run.text.find("ConfigureMode=0\nInsertEndSegment=0\n"), std::string::npos);
    EXPECT_EQ(run.text.find("ClearBuffer"), std::string::npos);
    EXPECT_EQ(run.text.find("WaitForCompletion"), std::string::npos);
}

TEST_F(DataExchange, ProfileChangeRebuildsTheList) {
    const DialogState flat = After("select IDC_PROFILE_TYPE 0");
    EXPECT_FALSE(flat.Visible("IDC_POSITION_Z"));
    EXPECT_EQ(flat.Items("IDC_SEGMENT_LIST").at(0).size(), 53u);
    const EditorRun run = Run("select IDC_PROFILE_TYPE 0\nok\n");
    EXPECT_NE(run.text.find("ProfileType=0\n"), std::string::npos);
    EXPECT_EQ(run.text.find("Z_TPOS"), std::string::npos);
}

TEST_F(DataExchange, ChoosingThreeAxesBeforeTheZAxisKeepsTheValuesInTheirUnits) {
    const std::string flat =
        "ProfileType=0\nConfigureMode=1\nSlaveX=0\nSlaveY=1\nX_TPOS[mm]=20\nY_TPOS[mm]=5\n"
        "CACC[m/s^2]=0\nCSPD[m/s]=0.1\nExecute=0\n";
    const EditorRun run = Run("select IDC_PROFILE_TYPE 1\ndump\nselect IDC_SLAVE_Z 2\nok\n", flat);
    EXPECT_EQ(run.dumps[0].Text("IDC_POSITION_X_UNIT"), "mm");
    EXPECT_EQ(run.result, 1);
    EXPECT_NE(run.text.find("X_TPOS[mm]=20\nY_TPOS[mm]=5\nZ_TPOS[mm]=0\n"), std::string::npos)
        << run.text;
    EXPECT_NE(run.text.find("CSPD[m/s]=0.1\n"), std::string::npos) << run.text;
}

TEST_F(DataExchange, StartEventIsChosenEditedAndWritten) {
    const EditorRun run =
        Run("click IDC_ON_EVENT\nclick IDC_NEXT\ndump\nevent 0\nclick IDC_CHANGE_EVENT\n"
            "event 250\nclick IDC_EDIT_EVENT\ndump\nok\n");
    EXPECT_TRUE(run.dumps[0].Enabled("IDC_CHANGE_EVENT"));
    EXPECT_NE(run.dumps[1].Text("IDC_EVENT_DESCRIPTION").find("250"), std::string::npos);
    EXPECT_TRUE(run.dumps[1].Enabled("IDC_EDIT_EVENT"));
    EXPECT_NE(run.text.find("Execute=1\nEventType=0\nEventDelay=250\n"), std::string::npos);
}

}  // namespace
