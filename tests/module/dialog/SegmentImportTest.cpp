#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <utility>

#include "EditorSession.h"
#include "tests/support/ScratchFolder.h"

namespace {

class SegmentImport : public ::testing::Test {
  protected:
    std::string File(const std::string& content) {
        return folder.Write("segments" + std::to_string(files++) + ".txt", content);
    }

    // Imports a file of content into the element and dumps; then OK.
    EditorRun Import(const std::string& content, const std::string& element = kThreeSegments,
                     const std::string& after = "") {
        EditorRun run = session.Run(
            element, "file " + File(content) + "\nclick IDC_IMPORT\ndump\n" + after + "ok\n");
        EXPECT_EQ(run.error, "");
        return run;
    }

    // The array entry name's line of the written text.
    static std::string Entry(const EditorRun& run, const std::string& name) {
        const auto at = run.text.find(name + "[");
        if (at == std::string::npos) return "";
        return run.text.substr(at, run.text.find('\n', at) - at);
    }

    // Imports path after making segment 2 current; the table must stay as it was, with one
    // message naming the file and why.
    void ExpectRefusedKeepingTheTable(const std::string& path, const std::string& reason) {
        const std::string before = session.Run(kThreeSegments, "ok\n").text;
        const EditorRun run =
            session.Run(kThreeSegments, "select IDC_SEGMENT_LIST 2\nfile " + path +
                                            "\nclick IDC_IMPORT\ndump\nok\n");
        ASSERT_EQ(run.error, "") << path;
        EXPECT_EQ(run.dumps[0].Messages(),
                  std::vector<std::string>{"exclamation: Cannot import \"" + path +
                                           "\": " + reason + "."});
        EXPECT_EQ(run.dumps[0].Items("IDC_SEGMENT_LIST").size(), 3u) << path;
        EXPECT_EQ(run.result, 1) << path;
        EXPECT_EQ(run.text, before) << path;
    }

    ScratchFolder folder{"vantrel-import"};
    int files = 0;
    EditorSession session;
};

const std::string kFlat = std::string("ProfileType=0\n") + kThreeSegments;
const std::string kLineError = "exclamation: Linear point error: invalid number of parameters!";

TEST_F(SegmentImport, ThreeAxisLinesGiveThreeToFiveNumbers) {
    const EditorRun run = Import("10 20 30\n10 20 30 5 6\r\n1,5 2,5 0 fast\n");
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(Entry(run, "X_TPOS"), "X_TPOS[mm]=10 10 1.5");
    EXPECT_EQ(Entry(run, "Y_TPOS"), "Y_TPOS[mm]=20 20 2.5");
    EXPECT_EQ(Entry(run, "Z_TPOS"), "Z_TPOS[mm]=30 30 0");
    EXPECT_EQ(Entry(run, "CACC"), "CACC[m/s^2]=0 5 0");
    EXPECT_EQ(Entry(run, "CSPD"), "CSPD[m/s]=0 6 0");
    EXPECT_TRUE(run.dumps[0].Messages().empty());
    EXPECT_EQ(run.dumps[0].Selection("IDC_SEGMENT_LIST"), 0);
}

TEST_F(SegmentImport, TwoAxisLinesGiveTwoToFourNumbers) {
    const EditorRun run = Import("10 20 5 6\n10 20 30\n1,2,3\n", kFlat);
    EXPECT_EQ(Entry(run, "X_TPOS"), "X_TPOS[mm]=10 10 1.2");
    EXPECT_EQ(Entry(run, "Y_TPOS"), "Y_TPOS[mm]=20 20 0.3");
    EXPECT_EQ(Entry(run, "CACC"), "CACC[m/s^2]=5 30 0");
    EXPECT_EQ(Entry(run, "CSPD"), "CSPD[m/s]=6 0 0");
}

TEST_F(SegmentImport, InvalidLineStopsTheImportWithAZeroSegment) {
    for (const char* third : {"10 20 30 5 6 7\n", "x 1 2 3\n", "\n", "1 2\n", "nan 1 2\n"}) {
        const EditorRun run = Import(std::string("1 2 3\n4 5 6\n") + third + "7 8 9\n");
        EXPECT_EQ(run.dumps[0].Messages(), std::vector<std::string>{kLineError}) << third;
        EXPECT_EQ(run.dumps[0].Items("IDC_SEGMENT_LIST").size(), 3u) << third;
        EXPECT_EQ(run.result, 0) << third;  // the zero segment is refused on OK
    }
    EXPECT_EQ(Import("1 2 3\n\n").dumps[0].Items("IDC_SEGMENT_LIST").size(), 2u);
}

// A 2D line holds x, y and optionally acceleration and speed: a fifth number is one too many.
TEST_F(SegmentImport, TwoAxisLinesWithOneOrFiveNumbersAreInvalid) {
    for (const char* second : {"10 20 30 5 6\n", "10\n"}) {
        const EditorRun run = Import(std::string("1 2\n") + second + "3 4\n", kFlat);
        EXPECT_EQ(run.dumps[0].Messages(), std::vector<std::string>{kLineError}) << second;
        EXPECT_EQ(run.dumps[0].Items("IDC_SEGMENT_LIST").size(), 2u) << second;
        EXPECT_EQ(run.result, 0) << second;  // the zero segment is refused on OK
    }
}

// A file written with CR line ends holds the lines it shows: a lone CR is never a blank that
// would make the next line's numbers this segment's acceleration and speed.
TEST_F(SegmentImport, ALoneCarriageReturnEndsALine) {
    const EditorRun run = Import("1 2 3\r4 5 6\r\n7 8 9\r");
    EXPECT_EQ(Entry(run, "X_TPOS"), "X_TPOS[mm]=1 4 7");
    EXPECT_EQ(Entry(run, "CACC"), "CACC[m/s^2]=0 0 0");
    EXPECT_TRUE(run.dumps[0].Messages().empty());
    EXPECT_EQ(Import("1 2 3\r\r4 5 6\r").dumps[0].Messages(), std::vector<std::string>{kLineError});
}

// The file is read in 64 KiB blocks: a CR LF whose LF starts the next block is one line end.
TEST_F(SegmentImport, CrLfSplitBetweenTwoBlocksIsOneLineEnd) {
    std::string content;
    for (int i = 0; i < 9361; ++i) content += "1 2 3\r\n";
    content += "1 2 3   \r";
    ASSERT_EQ(content.size(), 65536u);
    content += "\n4 5 6\r\n";
    const EditorRun run = Import(content);
    EXPECT_TRUE(run.dumps[0].Messages().empty());
    EXPECT_EQ(run.dumps[0].Items("IDC_SEGMENT_LIST").size(), 9363u);
}

TEST_F(SegmentImport, RepeatedAccelerationOrSpeedIsLeftOut) {
    const EditorRun run = Import("1 1 1 2 1\n1 1 1 2 3\n1 1 1 2 3\n1 1 1 2 0\n");
    EXPECT_EQ(Entry(run, "CACC"), "CACC[m/s^2]=2 0 2 0");
    EXPECT_EQ(Entry(run, "CSPD"), "CSPD[m/s]=1 3 0 0");
}

TEST_F(SegmentImport, NumbersBeyondTheLimitsAreClamped) {
    const EditorRun run = Import("1e12 -1e12 0 -5 1e300\n");
    EXPECT_EQ(Entry(run, "X_TPOS"), "X_TPOS[mm]=2147483.647");
    EXPECT_EQ(Entry(run, "Y_TPOS"), "Y_TPOS[mm]=-2147483.648");
    EXPECT_EQ(Entry(run, "CACC"), "CACC[m/s^2]=0");
    EXPECT_EQ(Entry(run, "CSPD"), "CSPD[m/s]=32.76799998");
}

TEST_F(SegmentImport, ImportedNumbersAreStoredAsTheSameNumbersTyped) {
    // Digits beyond every column's step, in both profiles; positions beyond the limits, at
    // infinity and at minus zero, accelerations and speeds below their limit of 0. Each positive
    // acceleration and speed differs from the one before, so that none is implied.
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> wide(-6e6, 6e6);
    std::uniform_real_distribution<double> narrow(-1.0, 1.0);
    std::uniform_real_distribution<double> dynamics(0.001, 30.0);
    const std::vector<std::string> specials = {"inf", "-inf", "-0", "1e-300"};
    for (const std::string& element : {std::string(kThreeSegments), kFlat}) {
        const bool flat = element == kFlat;
        std::vector<const char*> edits = {"IDC_POSITION_X", "IDC_POSITION_Y", "IDC_POSITION_Z",
                                          "IDC_ACCELERATION", "IDC_SPEED"};
        if (flat) edits.erase(edits.begin() + 2);
        std::string lines;
        std::string typed = "select IDC_SEGMENT_LIST 2\n";
        // Whether the current segment's acceleration and speed are set, which checks their
        // boxes: segment 2 sets an acceleration only, a new segment what was typed above 0.
        bool checked[] = {true, false};
        for (int i = 0; i < 40; ++i) {
            const double values[] = {i % 2 == 0 ? wide(random) : narrow(random),
                                     narrow(random) * 1e-2, wide(random) * 1e-3,
                                     i % 3 == 0 ? -dynamics(random) : dynamics(random),
                                     i % 4 == 1 ? -dynamics(random) : dynamics(random)};
            for (std::size_t k = 0; k < edits.size(); ++k) {
                char digits[32];
                std::snprintf(digits, sizeof digits, "%.17g", values[k + (flat && k >= 2)]);
                const std::string number =
                    k == 0 && i % 10 == 3 ? specials[static_cast<std::size_t>(i / 10)] : digits;
                lines += number + (k + 1 < edits.size() ? " " : "\n");
                const bool acceleration = k + 2 == edits.size();
                const bool speed = k + 1 == edits.size();
                if ((acceleration && !checked[0]) || (speed && !checked[1]))
                    typed +=
                        acceleration ? "click IDC_ACCELERATION_CHECK\n" : "click IDC_SPEED_CHECK\n";
                typed += std::string("type ") + edits[k] + " " + number + "\n";
            }
            typed += "click IDC_INSERT_BELOW\n";
            checked[0] = values[3] > 0.0;
            checked[1] = values[4] > 0.0;
        }
        const EditorRun imported = Import(lines, element);
        const EditorRun entered = session.Run(element, typed + "ok\n");
        ASSERT_EQ(entered.error, "");
        // The typed segments follow the element's three.
        for (const auto& [name, first] : {std::pair{"X_TPOS", "10 20 30 "},
                                          {"Y_TPOS", "1 2 3 "},
                                          {"Z_TPOS", "0 0 0 "},
                                          {"CACC", "1 0 2 "},
                                          {"CSPD", "0.5 0.5 0 "}}) {
            const std::string written = Entry(imported, name);
            if (written.empty()) {
                EXPECT_EQ(Entry(entered, name), "") << name;  // Z of two axes
                continue;
            }
            const std::size_t values = written.find('=') + 1;
            EXPECT_EQ(Entry(entered, name),
                      written.substr(0, values) + first + written.substr(values))
                << (flat ? "two axes" : "three axes");
        }
    }
}

TEST_F(SegmentImport, EmptyFileEmptiesTheTableUntilASegmentIsInserted) {
    const EditorRun empty = Import("", kThreeSegments, "ok\ndump\n");
    const DialogState& state = empty.dumps[0];
    EXPECT_TRUE(state.Items("IDC_SEGMENT_LIST").empty());
    EXPECT_EQ(state.Selection("IDC_SEGMENT_LIST"), -1);
    EXPECT_EQ(state.Text("IDC_POSITION_X"), "");
    EXPECT_FALSE(state.Enabled("IDC_REMOVE"));
    EXPECT_EQ(empty.dumps[1].Messages(),
              std::vector<std::string>{
                  "none: Invalid number of segments. You should have at least one segment."});
    EXPECT_EQ(empty.result, 0);

    const EditorRun refilled = Import(
        "", kThreeSegments,
        "command 10041\ntype IDC_POSITION_X 4\ntype IDC_POSITION_Y 5\ntype IDC_POSITION_Z 6\n"
        "click IDC_INSERT_ABOVE\n");
    EXPECT_EQ(refilled.result, 1);
    EXPECT_EQ(Entry(refilled, "X_TPOS"), "X_TPOS[mm]=4");
}

TEST_F(SegmentImport, FileErrorsAreReportedAndKeepTheTable) {
    const std::string script = "file /proc/self/mem\nclick IDC_IMPORT\ndump\n";
    const EditorRun run = session.Run(kThreeSegments, script);
    ASSERT_EQ(run.error, "");
    const std::vector<std::string> messages = run.dumps[0].Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("/proc/self/mem"), std::string::npos);
    EXPECT_TRUE(run.dumps[0].Items("IDC_SEGMENT_LIST").empty());  // emptied once opened

    const std::string missing = folder.PathOf("missing.txt");
    const EditorRun gone =
        session.Run(kThreeSegments, "file " + missing + "\nclick IDC_IMPORT\ndump\n");
    ASSERT_EQ(gone.error, "");
    ASSERT_EQ(gone.dumps[0].Messages().size(), 1u);
    EXPECT_NE(gone.dumps[0].Messages()[0].find(missing), std::string::npos);
    EXPECT_EQ(gone.dumps[0].Items("IDC_SEGMENT_LIST").size(), 3u);
}

// A name of a megabyte made a message line of a megabyte.
TEST_F(SegmentImport, ALongFileNameIsShownShortenedAndOpenedWhole) {
    const std::string missing = folder.PathOf("") + std::string(1 << 20, 'n') + "-end.txt";
    const EditorRun gone =
        session.Run(kThreeSegments, "file " + missing + "\nclick IDC_IMPORT\ndump\n");
    ASSERT_EQ(gone.error, "");
    ASSERT_EQ(gone.dumps[0].Messages().size(), 1u);
    const std::string message = gone.dumps[0].Messages()[0];
    EXPECT_LT(message.size(), 400u) << message.substr(0, 400);
    EXPECT_NE(message.find(folder.PathOf("")), std::string::npos) << message;
    EXPECT_NE(
        message.find("nnn-end.txt\" (shortened from " + std::to_string(missing.size()) + " bytes)"),
        std::string::npos)
        << message;
    EXPECT_LT(gone.messages.size(), 400u) << "the message line";
    EXPECT_EQ(gone.dumps[0].Items("IDC_SEGMENT_LIST").size(), 3u);

    // Folders of 200-byte names make a path of some 3000 bytes that opens.
    std::filesystem::path deep = folder.Path();
    for (int i = 0; i < 14; ++i) deep /= std::string(200, static_cast<char>('a' + i));
    std::filesystem::create_directories(deep);
    const std::string path = (deep / "segments.txt").string();
    ASSERT_GT(path.size(), 2800u);
    { std::ofstream(path) << "7 8 9\n"; }
    const EditorRun deepRun =
        session.Run(kThreeSegments, "file " + path + "\nclick IDC_IMPORT\nok\n");
    ASSERT_EQ(deepRun.error, "");
    EXPECT_EQ(deepRun.messages, "");
    EXPECT_EQ(Entry(deepRun, "X_TPOS"), "X_TPOS[mm]=7");
}

TEST_F(SegmentImport, OnlyRegularFilesAndPipesAreImported) {
    const std::string pipe = (folder.Path() / "pipe").string();  // no program writes to it
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    ExpectRefusedKeepingTheTable("/dev/zero", "it is not a regular file or a pipe");
    ExpectRefusedKeepingTheTable(folder.Path().string(), "it is a folder");
    ExpectRefusedKeepingTheTable(pipe, "nothing came through the pipe (no program writes to it)");
}

TEST_F(SegmentImport, ALineLongerThanTheLimitIsRefusedKeepingTheTable) {
    const std::string limit(65536 - 6, ' ');
    const EditorRun longest = Import("1 2 3\n" + limit + "4 5 6\n");
    EXPECT_EQ(Entry(longest, "X_TPOS"), "X_TPOS[mm]=1 4");
    ExpectRefusedKeepingTheTable(File("1 2 3\n" + limit + " 4 5 6\n"),
                                 "line 2 is longer than 65536 bytes");
    ExpectRefusedKeepingTheTable(File(std::string(200000, '\0')),
                                 "line 1 is longer than 65536 bytes");
}

TEST_F(SegmentImport, LongCamPathsOfOverAMillionLinesAreImported) {
    std::string lines;
    for (int i = 0; i <= 1000000; ++i) lines += "1 2 3\n";
    const std::string written = Entry(Import(lines), "Z_TPOS");
    EXPECT_EQ(std::count(written.begin(), written.end(), '3'), 1000001);
}

TEST_F(SegmentImport, WhatAPipeHoldsIsImported) {
    const std::string pipe = (folder.Path() / "pipe").string();
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    // The lines wait in the pipe, held by a reader that never reads; the writer has finished.
    const int writer = open(pipe.c_str(), O_RDWR | O_CLOEXEC);
    const int holder = open(pipe.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_EQ(write(writer, "1 2 3\n4 5 6\n", 12), 12);
    close(writer);
    const EditorRun run = session.Run(kThreeSegments, "file " + pipe + "\nclick IDC_IMPORT\nok\n");
    close(holder);
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(Entry(run, "X_TPOS"), "X_TPOS[mm]=1 4");
}

TEST_F(SegmentImport, CancelledFileDialogChangesNothing) {
    const EditorRun run = session.Run(kThreeSegments,
                                      "select IDC_SEGMENT_LIST 2\nfile cancel\nclick IDC_IMPORT\n"
                                      "dump\n");
    EXPECT_EQ(run.dumps[0].Items("IDC_SEGMENT_LIST").size(), 3u);
    EXPECT_EQ(run.dumps[0].Selection("IDC_SEGMENT_LIST"), 2);
}

}  // namespace
