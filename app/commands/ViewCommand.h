// The view sub-command: shows an element's path in a window, coloured by the motion model's
// speed, with a marker to move along it in time.
#pragma once

#include <CLI/CLI.hpp>

#include "app/commands/CommandSupport.h"

Command AddViewCommand(CLI::App& app, CommonOptions& common);
