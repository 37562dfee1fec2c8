// The simplify sub-command: an element with fewer segments for the same path, within a tolerance.
#pragma once

#include <CLI/CLI.hpp>

#include "app/commands/CommandSupport.h"

Command AddSimplifyCommand(CLI::App& app, CommonOptions& common);
