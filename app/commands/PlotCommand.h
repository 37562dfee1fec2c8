// The plot sub-command: an SVG drawing of an element's path.
#pragma once

#include <CLI/CLI.hpp>

#include "app/commands/CommandSupport.h"

Command AddPlotCommand(CLI::App& app, CommonOptions& common);
