// The edit sub-command: runs the module's editor on an element file.
#pragma once

#include <string>

#include "app/cli/ExitStatus.h"
#include "app/io/FileAccess.h"
#include "app/io/PluginModule.h"
#include "app/project/Project.h"

struct EditRequest {
    std::string path;        // the element file, replaced when the user confirms
    bool startsNew = false;  // the file does not exist yet: start from a new element
    std::string element;     // the file's text when it exists
    ContentId readContent;   // what the file held when it was read, to see it change meanwhile
    std::string script;      // the editor script's text
    std::string scriptName;  // names the script in messages
};

// Runs the editor headless on the request's script; Success when confirmed and written, Refused
// when cancelled. Throws AppError when a script line could not be carried out. The request is taken
// over, so that a long element's text is held once.
ExitStatus RunScriptedEdit(const PluginModule& module, Project& project, EditRequest request);
// Runs the editor in a window on the display that DISPLAY names; Success when confirmed and
// written, Refused when cancelled. Throws AppError, before the editor opens, when there is no
// display.
ExitStatus RunWindowEdit(const PluginModule& module, Project& project, EditRequest request);
