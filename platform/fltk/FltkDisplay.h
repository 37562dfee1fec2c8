// Connecting the toolkit to the display, for each library that shows windows with it: the
// dialogs' back end and the viewer's window. Each of them is a library of its own that the
// program loads, so each builds this in.
#pragma once

#include <string>

// What the program does when the display goes away, told the reason. Nothing shown can go on
// without the display, so the handler ends the program; it must not return.
using DisplayLostHandler = void (*)(const std::string& reason);

// Connects the toolkit to the display that DISPLAY names; false when it is unset or cannot be
// opened. From then on a lost display, and any failure the toolkit cannot go on from, goes to
// onLost; should the handler return after all, the program ends abnormally.
bool OpenToolkitDisplay(DisplayLostHandler onLost);
