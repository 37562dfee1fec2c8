// The vantrel command line: sub-commands that call the module's exports on a project.
#pragma once

// Parses argv, runs the chosen sub-command and returns the exit status: 0 done, 1 the module
// refused the element or the user cancelled, 2 a usage error, a bad file or a missing module.
int RunVantrel(int argc, char** argv);
