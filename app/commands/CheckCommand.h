// The check sub-command: reads and validates an element without translating it.
#pragma once

#include <CLI/CLI.hpp>

#include "app/commands/CommandSupport.h"

Command AddCheckCommand(CLI::App& app, CommonOptions& common);
