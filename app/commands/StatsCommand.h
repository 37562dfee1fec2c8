// The stats sub-command: what an element does, from the same reading as translate.
#pragma once

#include <CLI/CLI.hpp>

#include "app/commands/CommandSupport.h"

Command AddStatsCommand(CLI::App& app, CommonOptions& common);
