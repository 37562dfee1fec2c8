// Small questions to the user, answered by the active back end (a window, or a script).
// Without a back end every question counts as cancelled.
#pragma once

#include <string>
#include <vector>

// The index of the item the user chose, or -1 when the user cancelled.
int AfxChooseItem(const char* title, const std::vector<std::string>& items, int current);
// True when the user confirmed an integer in min..max, which value then holds.
bool AfxAskInteger(const char* title, const char* prompt, int& value, int min, int max);
