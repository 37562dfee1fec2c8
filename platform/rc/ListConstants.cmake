# Lists the constants of platform/WinDefs.h as entries of the resource compiler's table of
# built-in symbols, one `{"NAME", static_cast<long long>(NAME)},` a line, so that the table
# follows the header. The values are the compiler's, from the header itself.
#
# Usage: cmake -DINPUT=platform/WinDefs.h -DOUTPUT=BuiltinConstants.inc -P ListConstants.cmake
file(READ "${INPUT}" header)
string(REGEX MATCHALL "inline constexpr [A-Za-z_]+ [A-Z][A-Z0-9_]* =|#define [A-Z][A-Z0-9_]* "
       declarations "${header}")
set(entries "// Generated from platform/WinDefs.h by ListConstants.cmake; edit the header.\n")
foreach(declaration IN LISTS declarations)
  string(REGEX REPLACE "^(inline constexpr [A-Za-z_]+|#define) ([A-Z0-9_]+).*$" "\\2" name
                       "${declaration}")
  string(APPEND entries "{\"${name}\", static_cast<long long>(${name})},\n")
endforeach()
file(WRITE "${OUTPUT}" "${entries}")
