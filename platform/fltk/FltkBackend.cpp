#include "platform/fltk/FltkBackend.h"

#include <FL/Fl.H>

#include <utility>

#include "platform/CDialog.h"
#include "platform/fltk/DialogWindow.h"
#include "platform/fltk/FltkDisplay.h"
#include "platform/fltk/ModalWindows.h"
#include "platform/fltk/Prompts.h"

FltkBackend::FltkBackend() {
    Fl::scheme("gtk+");
    // The layout's base units assume Helvetica's widths; font configuration maps these names
    // to metric-compatible faces.
    Fl::set_font(FL_HELVETICA, "Helvetica");
    Fl::set_font(FL_COURIER, "Courier");
    Fl::event_dispatch(ModalWindows::Dispatch);
}

FltkBackend::~FltkBackend() { Fl::event_dispatch(nullptr); }

bool FltkBackend::OpenDisplay(DisplayLostHandler onLost) { return OpenToolkitDisplay(onLost); }

void FltkBackend::NameDocument(std::string name, std::string rowNoun) {
    m_document = {std::move(name), std::move(rowNoun)};
}

INT_PTR FltkBackend::RunModal(CDialog& dialog) {
    DialogWindow window(dialog, m_document);
    // The window leaves the modal stack also when the dialog's code throws.
    ModalWindows::Scope modal(&window, [&window] { return window.HandleDialogKey(); });
    dialog.RunInitDialog();
    window.MirrorAll();
    if (!dialog.IsModalEnded()) window.ShowCentred();
    while (!dialog.IsModalEnded() && !window.Failed()) Fl::wait();
    window.RethrowFailure();
    return dialog.GetModalResult();
}

void FltkBackend::WindowChanged(CWnd& window, WindowChange change) {
    if (DialogWindow* shown = ModalWindows::DialogWindowShowing(window))
        shown->Mirror(window, change);
}

int FltkBackend::MessageBox(const std::string& text, UINT type) {
    return ShowMessageBox(text, type);
}

std::optional<std::string> FltkBackend::ChooseFile(const FileDialogRequest& request) {
    return ShowFileChooser(request);
}

int FltkBackend::ChooseItem(const std::string& title, const std::vector<std::string>& items,
                            int current) {
    return ShowItemChoice(title, items, current);
}

bool FltkBackend::AskInteger(const std::string& title, const std::string& prompt, int& value,
                             int min, int max) {
    return ShowIntegerPrompt(title, prompt, value, min, max);
}
