#include "platform/AfxPrompt.h"

#include "platform/Backend.h"

// The back end's answers are checked, so callers can rely on the ranges promised here.
int AfxChooseItem(const char* title, const std::vector<std::string>& items, int current) {
    Backend* backend = GetActiveBackend();
    if (backend == nullptr || items.empty()) return -1;
    int chosen = backend->ChooseItem(title ? title : "", items, current);
    return chosen >= 0 && chosen < static_cast<int>(items.size()) ? chosen : -1;
}

bool AfxAskInteger(const char* title, const char* prompt, int& value, int min, int max) {
    Backend* backend = GetActiveBackend();
    if (backend == nullptr || min > max) return false;
    int answer = value;
    if (!backend->AskInteger(title ? title : "", prompt ? prompt : "", answer, min, max))
        return false;
    if (answer < min || answer > max) return false;
    value = answer;
    return true;
}
