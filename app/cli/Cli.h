// The vantrel command line: sub-commands that call the module's exports on a project.
#pragma once

#include "app/cli/ExitStatus.h"

// Parses argv, runs the chosen sub-command and returns what its exit status tells.
ExitStatus RunVantrel(int argc, char** argv);
