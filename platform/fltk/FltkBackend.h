// The window back end: shows each modal dialog in a real window (FLTK) and turns what the user
// does there into the same user input a script gives (see UserInput). Message boxes, the file
// dialog and the prompts are small modal windows of their own.
#pragma once

#include <string>

#include "platform/Backend.h"
#include "platform/fltk/DialogWindow.h"
#include "platform/fltk/FltkDisplay.h"

class FltkBackend : public Backend {
  public:
    FltkBackend();
    ~FltkBackend() override;
    FltkBackend(const FltkBackend&) = delete;
    FltkBackend& operator=(const FltkBackend&) = delete;

    // What the application does when the display goes away while its dialogs run
    // (OpenToolkitDisplay).
    using DisplayLostHandler = ::DisplayLostHandler;

    // Connects to the display that DISPLAY names; false when it is unset or cannot be opened.
    // Needed once before the first dialog; from then on a lost display goes to onLost.
    static bool OpenDisplay(DisplayLostHandler onLost);

    // Names the document in the title of the dialogs that have a list, with the count of its
    // rows called rowNoun.
    void NameDocument(std::string name, std::string rowNoun);

    INT_PTR RunModal(CDialog& dialog) override;
    int MessageBox(const std::string& text, UINT type) override;
    std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;
    int ChooseItem(const std::string& title, const std::vector<std::string>& items,
                   int current) override;
    bool AskInteger(const std::string& title, const std::string& prompt, int& value, int min,
                    int max) override;
    void WindowChanged(CWnd& window, WindowChange change) override;

  private:
    DocumentTitle m_document;
};
