// The window back end, loaded when the editor first opens a window, so that the program's
// other commands start without the toolkit and the X libraries.
#pragma once

#include <memory>
#include <string>

#include "platform/Backend.h"

using WindowBackend = std::unique_ptr<Backend, void (*)(Backend*)>;

// Loads the window back end and connects to the display; onLost is told when the display goes
// away later. The titles of the dialogs with a list name documentName and the count of the
// list's rows, called rowNoun. Null when there is no display; throws AppError when the back end
// cannot be loaded.
WindowBackend OpenWindowBackend(void (*onLost)(const std::string& reason),
                                const std::string& documentName, const char* rowNoun);
