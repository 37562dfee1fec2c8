#include <gtest/gtest.h>

#include <cstdio>

#include "EditorSession.h"

namespace {

// A row or header line: right-aligned cells of the list's widths, single blanks between.
std::string Line(std::vector<std::string> cells) {
    const bool threeAxes = cells.size() == 5;
    const std::vector<int> widths =
        threeAxes ? std::vector<int>{11, 11, 11, 15, 13} : std::vector<int>{11, 11, 15, 13};
    std::string line;
    for (size_t i = 0; i < cells.size(); ++i) {
        char cell[64];
        std::snprintf(cell, sizeof cell, "%*s", widths[i], cells[i].c_str());
        line += (i ? " " : "") + std::string(cell);
    }
    return line;
}

TEST(SegmentList, OpensOnTheFirstSegmentWithTheXEditFocused) {
    EditorSession session;
    const EditorRun run = session.Run(kThreeSegments, "dump\n");
    ASSERT_EQ(run.error, "");
    ASSERT_EQ(run.dumps.size(), 1u);
    const DialogState& state = run.dumps[0];

    EXPECT_EQ(state.Text("IDC_LIST_HEADER"),
              Line({"X[mm]", "Y[mm]", "Z[mm]", "Accel[m/s^2]", "Speed[m/s]"}));
    EXPECT_EQ(state.Items("IDC_SEGMENT_LIST"),
              (std::vector<std::string>{Line({"10", "1", "0", "1", "0.5"}),
                                        Line({"20", "2", "0", "", "0.5"}),
                                        Line({"30", "3", "0", "2", ""})}));
    EXPECT_EQ(state.Selection("IDC_SEGMENT_LIST"), 0);
    EXPECT_EQ(state.Focus(), IDC_POSITION_X);
    EXPECT_EQ(state.Text("IDC_POSITION_X"), "10");
    EXPECT_EQ(state.Text("IDC_POSITION_Z"), "0");
    EXPECT_EQ(state.Items("IDC_PROFILE_TYPE"), (std::vector<std::string>{"2D", "3D"}));
    EXPECT_EQ(state.Selection("IDC_PROFILE_TYPE"), 1);
}

TEST(SegmentList, TwoAxisProfileShowsNoZ) {
    EditorSession session;
    const std::string element = std::string("ProfileType=0\n") + kThreeSegments;
    const DialogState state = session.Run(element, "dump\n").dumps.at(0);

    EXPECT_EQ(state.Text("IDC_LIST_HEADER"),
              Line({"X[mm]", "Y[mm]", "Accel[m/s^2]", "Speed[m/s]"}));
    EXPECT_EQ(state.Items("IDC_SEGMENT_LIST").at(0), Line({"10", "1", "1", "0.5"}));
    for (const char* name : {"IDC_Z_AXIS_LABEL", "IDC_SLAVE_Z", "IDC_POSITION_Z_LABEL",
                             "IDC_POSITION_Z", "IDC_POSITION_Z_UNIT"})
        EXPECT_FALSE(state.Visible(name)) << name;
}

TEST(SegmentList, UnreadableElementOpensWithOneEmptySegment) {
    EditorSession session;
    const DialogState state = session.Run("garbage", "dump\n").dumps.at(0);
    EXPECT_EQ(state.Items("IDC_SEGMENT_LIST").size(), 1u);
    EXPECT_EQ(state.Text("IDC_POSITION_X"), "0");
    EXPECT_EQ(state.Selection("IDC_SLAVE_X"), -1);
}

// A column the read could not take would be written back as shown (its unit lost, its values
// zero): the user hears of it before using the dialog.
TEST(SegmentList, WhatTheReadCouldNotTakeIsShownWhenTheDialogOpens) {
    EditorSession session;
    std::string element = kThreeSegments;
    element.replace(element.find("CSPD[m/s]"), 9, "CSPD[mm]");
    EXPECT_EQ(session.Run(element, "dump\n").dumps.at(0).Messages(),
              std::vector<std::string>{
                  "exclamation: The element could not be read as it stands:\nUnit \"mm\" of "
                  "entry \"CSPD\" cannot be used on this axis!\nThe dialog shows what could be "
                  "read; OK writes what it shows."});
    // Segments that OK refuses are no problem of the read: a new element opens without a word.
    std::string unmoved = kThreeSegments;
    unmoved.replace(unmoved.find("X_TPOS[mm]=10"), 13, "X_TPOS[mm]=0");
    unmoved.replace(unmoved.find("Y_TPOS[mm]=1"), 12, "Y_TPOS[mm]=0");
    for (const std::string& clean : {std::string(kThreeSegments), unmoved})
        EXPECT_TRUE(session.Run(clean, "dump\n").dumps.at(0).Messages().empty()) << clean;
}

TEST(SegmentList, CancelLeavesTheTextAlone) {
    EditorSession session;
    const EditorRun run = session.Run(kThreeSegments,
                                      "type IDC_POSITION_X 99\n"
                                      "click IDC_INSERT_BELOW\ncancel\n");
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(run.text, kThreeSegments);
    EXPECT_EQ(session.Run(kThreeSegments, "").result, 0);  // a script that just ends cancels
}

}  // namespace
