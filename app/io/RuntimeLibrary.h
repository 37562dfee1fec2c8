// Libraries of the program's own that it loads only when a command needs them (the window back
// end, the viewer's window): they bring the toolkit and the X libraries, whose loading would
// otherwise slow every start.
#pragma once

#include <string>

// Loads the library by its versioned file name on the program's library path (beside it in the
// build, in the library folder when installed); null, with the loader's reason, when it cannot.
// It is never closed: the toolkit keeps its state until the end.
void* LoadRuntimeLibrary(const char* file, std::string& reason);
// The library's entry point of that name; null when it has none.
void* RuntimeEntry(void* library, const char* name);
