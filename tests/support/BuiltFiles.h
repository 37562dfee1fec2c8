// Where the files the tests use are: what the build made beside them, and the source tree's own.
#pragma once

#include <string>

// The program, vantrel.
std::string BuiltProgramPath();
// The module, libVantrel.so.
std::string BuiltModulePath();
// The host kernel library: a shared library that is no module.
std::string BuiltHostLibraryPath();
// A file of the source tree, by its path from the tree's root ("examples/linear3.toml").
std::string SourcePath(const std::string& relative);
