// The window back end: shows each modal dialog in a real window (FLTK) and turns what the user
// does there into the same user input a script gives (see UserInput). Message boxes, the file
// dialog and the prompts are small modal windows of their own.
#pragma once

#include "platform/Backend.h"

class FltkBackend : public Backend {
  public:
    FltkBackend();
    ~FltkBackend() override;
    FltkBackend(const FltkBackend&) = delete;
    FltkBackend& operator=(const FltkBackend&) = delete;

    // Connects to the display that DISPLAY names; false when it is unset or cannot be opened.
    // Needed once before the first dialog.
    static bool OpenDisplay();

    INT_PTR RunModal(CDialog& dialog) override;
    int MessageBox(const std::string& text, UINT type) override;
    std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;
    int ChooseItem(const std::string& title, const std::vector<std::string>& items,
                   int current) override;
    bool AskInteger(const std::string& title, const std::string& prompt, int& value, int min,
                    int max) override;
    void WindowChanged(CWnd& window, WindowChange change) override;
};
