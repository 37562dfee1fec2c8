// The export sub-command: an element's segments as CSV or G-code for other tools.
#pragma once

#include <CLI/CLI.hpp>

#include "app/commands/CommandSupport.h"

Command AddExportCommand(CLI::App& app, CommonOptions& common);
