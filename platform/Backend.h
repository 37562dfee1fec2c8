// The back end presents dialogs and feeds them user input: a window toolkit or a script. The
// application installs one; the framework routes modal dialogs, message boxes, file dialogs and
// prompts to it, and tells it about every change of a control's state.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/AfxTypes.h"

class CDialog;
class CWnd;

// What changed on a window. Focus is reported on the dialog whose focused control changed.
enum class WindowChange {
    Text,
    Enabled,
    Visible,
    Check,
    Items,
    Selection,
    Font,
    Focus,
    EditSelection
};

// What an open-file (or save-file) dialog asks for.
struct FileDialogRequest {
    bool open = true;
    std::string defaultExtension;
    std::string fileName;
    DWORD flags = 0;
    // Pairs of description and pattern list ("*.txt;*.text"), from the filter string.
    std::vector<std::pair<std::string, std::string>> filters;
    CWnd* owner = nullptr;
};

class Backend {
  public:
    virtual ~Backend() = default;

    // Shows dialog, calls dialog.RunInitDialog(), then passes user input to it (see UserInput)
    // until dialog.IsModalEnded(); returns the dialog's result.
    virtual INT_PTR RunModal(CDialog& dialog) = 0;
    // Shows a message box of the given MB_ type; returns the id of the button pressed.
    virtual int MessageBox(const std::string& text, UINT type) = 0;
    // The chosen full path, or nothing when the user cancelled.
    virtual std::optional<std::string> ChooseFile(const FileDialogRequest& request) = 0;
    // The index of the chosen item, or -1 when the user cancelled.
    virtual int ChooseItem(const std::string& title, const std::vector<std::string>& items,
                           int current) = 0;
    // True when the user confirmed an integer in min..max, which value then holds.
    virtual bool AskInteger(const std::string& title, const std::string& prompt, int& value,
                            int min, int max) = 0;
    // Called after the program or the user changed a window's state.
    virtual void WindowChanged(CWnd& /*window*/, WindowChange /*change*/) {}
};

// Installs the back end (null for none); the caller keeps it alive while it is active.
void SetActiveBackend(Backend* backend);
Backend* GetActiveBackend();

// The ids of the buttons of a message box of this type, left to right.
std::vector<int> AfxMessageBoxButtons(UINT type);
// The button a message box of this type answers when nobody is asked: its default button.
int AfxDefaultMessageBoxButton(UINT type);
