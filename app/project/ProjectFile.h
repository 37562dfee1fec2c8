// Loads a project file (TOML) into the host objects of a Project.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "app/project/Project.h"

// Builds the project that text describes; sourceName names the text in messages. Throws
// AppError with "SOURCE:LINE: key "K": problem" when the text is refused.
std::unique_ptr<Project> LoadProjectText(std::string_view text, const std::string& sourceName);
// Reads and builds the project file at path.
std::unique_ptr<Project> LoadProjectFile(const std::string& path);
