// Scripted answers to the user prompts, for tests of the host's own questions.
#pragma once

#include <deque>
#include <string>
#include <utility>
#include <vector>

struct FakePrompt {
    // Answers of AfxChooseItem in order; -1 cancels. None left: cancel.
    static std::deque<int>& Choices();
    // Answers of AfxAskInteger in order: (confirmed, value). None left: cancel.
    static std::deque<std::pair<bool, int>>& Integers();
    // Prompts asked so far: "title" for choices, "title|prompt" for integers.
    static std::vector<std::string>& Asked();
    static void Reset();
};
