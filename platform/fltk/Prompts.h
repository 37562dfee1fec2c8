// The small modal windows of the window back end. Each runs its own loop until answered.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/AfxTypes.h"
#include "platform/Backend.h"

// A message box of an MB_ type with its icon and buttons; returns the id of the button
// pressed. Escape and the close box answer Cancel where there is one, else the only button.
int ShowMessageBox(const std::string& text, UINT type);
// The open-file or save-file dialog: the chosen path, or nothing when cancelled. An open dialog
// that requires an existing file asks again until the user picks one or cancels.
std::optional<std::string> ShowFileChooser(const FileDialogRequest& request);
// The index of the chosen item, or -1 when cancelled.
int ShowItemChoice(const std::string& title, const std::vector<std::string>& items, int current);
// True when the user confirmed a whole number in min..max; asks again after a wrong entry.
bool ShowIntegerPrompt(const std::string& title, const std::string& prompt, int& value, int min,
                       int max);
