// The help sub-command: the help of the program or of one of its commands.
#pragma once

#include <CLI/CLI.hpp>

#include "app/commands/CommandSupport.h"

Command AddHelpCommand(CLI::App& app, CommonOptions& common);
