// Text from outside made safe to print inside a message on one line of a terminal.
#pragma once

#include <string>
#include <string_view>

// text with its control characters written as escapes: "\n", "\r", "\t", other control bytes
// (C0, DEL and the C1 controls of UTF-8) and bytes that are not UTF-8 as "\xHH". Other UTF-8
// text, backslashes included, stays as it is.
std::string EscapeControls(std::string_view text);
