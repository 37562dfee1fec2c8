// The import sub-command: an element from a G-code program or a CSV table.
#pragma once

#include <CLI/CLI.hpp>

#include "app/commands/CommandSupport.h"

Command AddImportCommand(CLI::App& app, CommonOptions& common);
