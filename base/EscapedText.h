// Text from outside made safe to print inside a message on one line of a terminal.
#pragma once

#include <string>
#include <string_view>

// text with its control characters written as escapes: "\n", "\r", "\t", other control bytes
// (C0, DEL and the C1 controls of UTF-8) and bytes that are not UTF-8 as "\xHH". Other UTF-8
// text, backslashes included, stays as it is.
std::string EscapeControls(std::string_view text);

// text made safe to quote in a message: control characters escaped (\n, \x1b), and a text
// longer than 40 bytes cut at a whole character within them, with "..." after it. Every message
// that quotes a value from outside quotes it through this, so no value makes a message long.
std::string QuoteForMessage(std::string_view text);
// The same in double quotes.
std::string Quoted(std::string_view text);

// A file name in double quotes for a message, control characters escaped. A name longer than
// 256 bytes keeps its first and last 120 bytes (cut at whole characters) around "...", and the
// quote is followed by " (shortened from N bytes)", so that the name stays recognisable and
// the message one line of sensible length. Only what is shown is shortened.
std::string QuotedName(std::string_view name);
