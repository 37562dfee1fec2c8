#include "FakePrompt.h"

#include "platform/AfxPrompt.h"

std::deque<int>& FakePrompt::Choices() {
    static std::deque<int> choices;
    return choices;
}

std::deque<std::pair<bool, int>>& FakePrompt::Integers() {
    static std::deque<std::pair<bool, int>> integers;
    return integers;
}

std::vector<std::string>& FakePrompt::Asked() {
    static std::vector<std::string> asked;
    return asked;
}

void FakePrompt::Reset() {
    Choices().clear();
    Integers().clear();
    Asked().clear();
}

// An unscripted prompt is cancelled, as without a user.
int AfxChooseItem(const char* title, const std::vector<std::string>& /*items*/, int /*current*/) {
    FakePrompt::Asked().push_back(title);
    if (FakePrompt::Choices().empty()) return -1;
    const int choice = FakePrompt::Choices().front();
    FakePrompt::Choices().pop_front();
    return choice;
}

bool AfxAskInteger(const char* title, const char* prompt, int& value, int min, int max) {
    FakePrompt::Asked().push_back(std::string(title) + "|" + prompt);
    if (FakePrompt::Integers().empty()) return false;
    const auto [confirmed, answer] = FakePrompt::Integers().front();
    FakePrompt::Integers().pop_front();
    if (!confirmed || answer < min || answer > max) return false;
    value = answer;
    return true;
}
