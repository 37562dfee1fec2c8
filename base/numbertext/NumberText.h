// Reading and writing numbers as text, in one include for the callers that do all of it, and
// quoting texts for messages.
#pragma once

#include <string>
#include <string_view>

#include "base/numbertext/DecimalStep.h"
#include "base/numbertext/FewestDigits.h"
#include "base/numbertext/Layout.h"
#include "base/numbertext/Parse.h"
#include "base/numbertext/Scan.h"

namespace numbertext {

// text made safe to quote in a message: control characters escaped (\n, \x1b), long
// texts cut short.
std::string QuoteForMessage(std::string_view text);
// The same in double quotes.
std::string Quoted(std::string_view text);

}  // namespace numbertext
