#include "host/CMotionEvent.h"

#include <climits>
#include <string>
#include <vector>

#include "host/ParameterText.h"
#include "platform/AfxPrompt.h"

namespace {
constexpr const char* kTypeEntry = "EventType";
constexpr const char* kDelayEntry = "EventDelay";
constexpr const char* kInputEntry = "EventInput";
constexpr const char* kLevelEntry = "EventLevel";

const char* LevelName(int level) { return level ? "high" : "low"; }
}  // namespace

CMotionEvent::CMotionEvent(CMC_Setup& setup, CMC_Motion& motion)
    : m_pSetup(&setup), m_pMotion(&motion) {}

int CMotionEvent::ReadParameters(const CString& text, CString& message) {
    parametertext::EntryLines lines(text.str());
    return ReadFromEntries(lines, message);
}

// The event changes only when every entry it needs reads; all problems are reported at once.
int CMotionEvent::ReadFromEntries(parametertext::EntryLines& lines, CString& message) {
    const auto readWholeNumber = [&](std::string_view name, long long min, long long max,
                                     int& value) {
        return parametertext::ReadWholeNumber(lines.Find(name), name, min, max, value);
    };
    int type = m_type;
    std::string problems =
        readWholeNumber(kTypeEntry, EVENT_TIME_DELAY, EVENT_MOTION_COMPLETE, type);
    int delay = m_delay;
    int input = m_input;
    int level = m_level;
    if (problems.empty() && type == EVENT_TIME_DELAY) {
        problems += readWholeNumber(kDelayEntry, 0, INT_MAX, delay);
    }
    if (problems.empty() && type == EVENT_DIGITAL_INPUT) {
        problems += readWholeNumber(kInputEntry, 0, kMaxInput, input);
        problems += readWholeNumber(kLevelEntry, 0, 1, level);
    }
    if (!problems.empty()) {
        message = problems;
        return 0;
    }
    m_type = type;
    m_delay = delay;
    m_input = input;
    m_level = level;
    return 1;
}

void CMotionEvent::WriteParameters(CString& text) {
    text.AppendFormat("%s=%d\n", kTypeEntry, m_type);
    if (m_type == EVENT_TIME_DELAY) text.AppendFormat("%s=%d\n", kDelayEntry, m_delay);
    if (m_type == EVENT_DIGITAL_INPUT) {
        text.AppendFormat("%s=%d\n%s=%d\n", kInputEntry, m_input, kLevelEntry, m_level);
    }
}

CString CMotionEvent::GetDescription(int /*flags*/) const {
    CString description;
    switch (m_type) {
        case EVENT_TIME_DELAY:
            description.Format("after %d ms", m_delay);
            break;
        case EVENT_DIGITAL_INPUT:
            description.Format("digital input %d %s", m_input, LevelName(m_level));
            break;
        default:
            description = "end of the previous motion";
            break;
    }
    return description;
}

CString CMotionEvent::GenerateMLCode() const {
    CString code;
    switch (m_type) {
        case EVENT_TIME_DELAY:
            code.Format("  WAIT %dL; // wait %d ms\r\n", m_delay, m_delay);
            break;
        case EVENT_DIGITAL_INPUT:
            code.Format("  WAITIN %d, %d; // wait for input %d %s\r\n", m_input, m_level, m_input,
                        LevelName(m_level));
            break;
        default:
            code = "  WAITMC; // wait for the previous motion to complete\r\n";
            break;
    }
    return code;
}

int CMotionEvent::IsEditable() const {
    return m_type == EVENT_TIME_DELAY || m_type == EVENT_DIGITAL_INPUT ? 1 : 0;
}

int CMotionEvent::ChangeType(int /*flags*/) {
    const std::vector<std::string> items = {"Time delay", "Digital input",
                                            "End of previous motion"};
    const int chosen = AfxChooseItem("Start Event", items, m_type);
    if (chosen < 0 || chosen >= static_cast<int>(items.size()) || chosen == m_type) return 0;
    if (chosen == EVENT_TIME_DELAY) SetTimeDelay(0);
    if (chosen == EVENT_DIGITAL_INPUT) SetDigitalInput(0, 1);
    if (chosen == EVENT_MOTION_COMPLETE) SetMotionComplete();
    return 1;
}

// Both answers of a digital input are needed; cancelling either keeps the event as it was.
int CMotionEvent::Edit() {
    if (m_type == EVENT_TIME_DELAY) {
        int delay = m_delay;
        if (!AfxAskInteger("Edit Event", "Delay [ms]", delay, 0, INT_MAX) || delay == m_delay) {
            return 0;
        }
        SetTimeDelay(delay);
        return 1;
    }
    if (m_type != EVENT_DIGITAL_INPUT) return 0;
    int input = m_input;
    int level = m_level;
    if (!AfxAskInteger("Edit Event", "Digital input", input, 0, kMaxInput)) return 0;
    if (!AfxAskInteger("Edit Event", "Level (0 low, 1 high)", level, 0, 1)) return 0;
    if (input == m_input && level == m_level) return 0;
    SetDigitalInput(input, level);
    return 1;
}

void CMotionEvent::SetTimeDelay(int milliseconds) {
    m_type = EVENT_TIME_DELAY;
    m_delay = milliseconds < 0 ? 0 : milliseconds;
}

void CMotionEvent::SetDigitalInput(int input, int level) {
    m_type = EVENT_DIGITAL_INPUT;
    m_input = input < 0 ? 0 : (input > kMaxInput ? kMaxInput : input);
    m_level = level ? 1 : 0;
}

void CMotionEvent::SetMotionComplete() { m_type = EVENT_MOTION_COMPLETE; }
