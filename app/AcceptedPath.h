// Reading an element's path for the commands that show or export it.
#pragma once

#include <optional>
#include <string>

#include "app/CommandSupport.h"
#include "path/ElementPath.h"

// The path of the element file (or "-") on the project, when the module's translate accepts
// the element; otherwise the module's messages go to stderr as translate writes them, and there
// is nothing (exit status 1).
std::optional<ElementPath> ReadAcceptedPath(const CommonOptions& common,
                                            const std::string& elementFile);
