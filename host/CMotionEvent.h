// The start event of a motion: a time delay, a digital input, or the end of the previous motion.
#pragma once

#include "host/CString.h"
#include "host/ParameterText.h"
#include "platform/AfxTypes.h"

class CMC_Setup;
class CMC_Motion;

enum MotionEventType {
    EVENT_TIME_DELAY = 0,
    EVENT_DIGITAL_INPUT = 1,
    EVENT_MOTION_COMPLETE = 2,
};

class CMotionEvent {
  public:
    CMotionEvent(CMC_Setup& setup, CMC_Motion& motion);
    virtual ~CMotionEvent() = default;

    // Reads EventType and the type's own entries. On success returns nonzero and leaves message
    // alone; on failure returns 0 and replaces message with the problems, each ending in CR LF.
    virtual int ReadParameters(const CString& text, CString& message);
    // The same from the lines of a text walked for its other entries already: the event's
    // entries follow the columns, whose lines are then walked once.
    int ReadFromEntries(parametertext::EntryLines& lines, CString& message);
    // Appends EventType and the type's own entries.
    virtual void WriteParameters(CString& text);

    // One-line description, e.g. "after 250 ms".
    CString GetDescription(int flags) const;
    // The event's motion-language lines (two leading blanks, CR LF ends).
    CString GenerateMLCode() const;
    // Nonzero when the type has settings the user can edit.
    int IsEditable() const;
    // Asks the user for another type; nonzero when the event changed.
    int ChangeType(int flags);
    // Asks the user for the type's settings; nonzero when the event changed.
    int Edit();

    int GetType() const { return m_type; }
    int GetDelay() const { return m_delay; }
    int GetInput() const { return m_input; }
    int GetLevel() const { return m_level; }
    void SetTimeDelay(int milliseconds);
    void SetDigitalInput(int input, int level);
    void SetMotionComplete();

    static constexpr int kMaxInput = 15;

  private:
    CMC_Setup* m_pSetup;
    CMC_Motion* m_pMotion;
    int m_type = EVENT_MOTION_COMPLETE;
    int m_delay = 0;
    int m_input = 0;
    int m_level = 1;
};
