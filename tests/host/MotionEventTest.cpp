#include <gtest/gtest.h>

#include "FakePrompt.h"
#include "host/CMC_Motion.h"
#include "host/CMC_Setup.h"
#include "host/CMotionEvent.h"

namespace {
class MotionEvent : public ::testing::Test {
  protected:
    MotionEvent() { FakePrompt::Reset(); }

    CMotionEvent ReadBack(const CMotionEvent& source) {
        CMotionEvent copy(setup, motion);
        CString text;
        CMotionEvent(source).WriteParameters(text);
        CString message = "untouched";
        EXPECT_EQ(copy.ReadParameters(text, message), 1) << message.GetString();
        EXPECT_EQ(message, "untouched");
        return copy;
    }

    CMC_Setup setup{"controller"};
    CMC_Motion motion;
    CMotionEvent event{setup, motion};
};
}  // namespace

TEST_F(MotionEvent, EachTypeWritesReadsAndDescribesItself) {
    event.SetTimeDelay(250);
    CString text;
    event.WriteParameters(text);
    EXPECT_EQ(text, "EventType=0\nEventDelay=250\n");
    EXPECT_EQ(ReadBack(event).GetDelay(), 250);
    EXPECT_EQ(event.GetDescription(0), "after 250 ms");
    EXPECT_EQ(event.GenerateMLCode(), "  WAIT 250L; // wait 250 ms\r\n");
    EXPECT_EQ(event.IsEditable(), 1);

    event.SetDigitalInput(3, 0);
    text.Empty();
    event.WriteParameters(text);
    EXPECT_EQ(text, "EventType=1\nEventInput=3\nEventLevel=0\n");
    EXPECT_EQ(ReadBack(event).GetInput(), 3);
    EXPECT_EQ(ReadBack(event).GetLevel(), 0);
    EXPECT_EQ(event.GetDescription(0), "digital input 3 low");
    event.SetDigitalInput(3, 1);
    EXPECT_EQ(event.GetDescription(0), "digital input 3 high");
    EXPECT_EQ(event.GenerateMLCode(), "  WAITIN 3, 1; // wait for input 3 high\r\n");

    event.SetMotionComplete();
    text.Empty();
    event.WriteParameters(text);
    EXPECT_EQ(text, "EventType=2\n");
    EXPECT_EQ(ReadBack(event).GetType(), EVENT_MOTION_COMPLETE);
    EXPECT_EQ(event.GetDescription(0), "end of the previous motion");
    EXPECT_EQ(event.GenerateMLCode(), "  WAITMC; // wait for the previous motion to complete\r\n");
    EXPECT_EQ(event.IsEditable(), 0);
}

TEST_F(MotionEvent, FailedReadReplacesTheMessageAndKeepsTheEvent) {
    event.SetTimeDelay(40);
    CString message = "earlier message\r\n";
    EXPECT_EQ(event.ReadParameters("EventType=1\nEventInput=16\nEventLevel=2\n", message), 0);
    EXPECT_EQ(message,
              "Entry \"EventInput\" is 16, out of range 0 to 15!\r\n"
              "Entry \"EventLevel\" is 2, out of range 0 to 1!\r\n");
    EXPECT_EQ(event.GetType(), EVENT_TIME_DELAY);
    EXPECT_EQ(event.GetDelay(), 40);

    EXPECT_EQ(event.ReadParameters("EventType=0\nEventDelay=-1\n", message), 0);
    EXPECT_EQ(message, "Entry \"EventDelay\" is -1, out of range 0 to 2147483647!\r\n");
    EXPECT_EQ(event.ReadParameters("", message), 0);
    EXPECT_EQ(message, "Entry \"EventType\" is missing!\r\n");
    EXPECT_EQ(event.ReadParameters("EventType=3\n", message), 0);
    EXPECT_EQ(event.GetDelay(), 40);
}

TEST_F(MotionEvent, ChangeTypeAsksAndSetsDefaults) {
    event.SetTimeDelay(500);
    FakePrompt::Choices() = {-1, 0, 1};
    EXPECT_EQ(event.ChangeType(0), 0);  // cancelled
    EXPECT_EQ(event.ChangeType(0), 0);  // the same type
    EXPECT_EQ(event.GetDelay(), 500);
    EXPECT_EQ(event.ChangeType(0), 1);
    EXPECT_EQ(event.GetType(), EVENT_DIGITAL_INPUT);
    EXPECT_EQ(event.GetInput(), 0);
    EXPECT_EQ(event.GetLevel(), 1);
    EXPECT_EQ(FakePrompt::Asked().size(), 3u);
}

TEST_F(MotionEvent, EditReportsOnlyRealChanges) {
    event.SetTimeDelay(100);
    FakePrompt::Integers() = {{false, 0}, {true, 100}, {true, 250}};
    EXPECT_EQ(event.Edit(), 0);
    EXPECT_EQ(event.Edit(), 0);
    EXPECT_EQ(event.Edit(), 1);
    EXPECT_EQ(event.GetDelay(), 250);
    EXPECT_EQ(FakePrompt::Asked().back(), "Edit Event|Delay [ms]");

    event.SetDigitalInput(2, 1);
    FakePrompt::Integers() = {{true, 5}, {false, 0}, {true, 5}, {true, 0}};
    EXPECT_EQ(event.Edit(), 0);  // level cancelled: nothing changes
    EXPECT_EQ(event.GetInput(), 2);
    EXPECT_EQ(event.Edit(), 1);
    EXPECT_EQ(event.GetInput(), 5);
    EXPECT_EQ(event.GetLevel(), 0);

    event.SetMotionComplete();
    EXPECT_EQ(event.Edit(), 0);
}
