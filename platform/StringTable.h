// The process-wide string resources, looked up by id like a module's string table.
#pragma once

#include <string>

#include "platform/AfxTypes.h"

// Registers (or replaces) the text of string resource id.
void AfxRegisterString(UINT id, const char* text);
// Returns true and fills text when string resource id exists.
bool AfxLoadString(UINT id, std::string& text);
