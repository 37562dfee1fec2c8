// The window back end's entry points under plain names, for a program that loads this library
// only when it opens a window: the library brings the toolkit and the X libraries, whose
// loading would otherwise cost every start of the program.
#pragma once

#include <string>

#include "platform/Backend.h"

extern "C" {
// What the program does when the display goes away (FltkBackend::DisplayLostHandler).
using VantrelDisplayLostHandler = void (*)(const std::string& reason);
// Connects to the display; false when there is none (FltkBackend::OpenDisplay).
bool VantrelOpenWindowDisplay(VantrelDisplayLostHandler onLost);
// A new window back end, which VantrelDestroyWindowBackend destroys.
Backend* VantrelCreateWindowBackend();
void VantrelDestroyWindowBackend(Backend* backend);
// Names the edited document in the title of the back end's dialogs that have a list, with the
// count of the list's rows called rowNoun (FltkBackend::NameDocument).
void VantrelNameWindowDocument(Backend* backend, const char* name, const char* rowNoun);
}

// The entry points' types, for a program that looks them up by name rather than linking this
// library (an unevaluated decltype does not use the functions).
using VantrelOpenWindowDisplayFn = decltype(&VantrelOpenWindowDisplay);
using VantrelCreateWindowBackendFn = decltype(&VantrelCreateWindowBackend);
using VantrelDestroyWindowBackendFn = decltype(&VantrelDestroyWindowBackend);
using VantrelNameWindowDocumentFn = decltype(&VantrelNameWindowDocument);
