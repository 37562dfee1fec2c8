#include "host/HostResources.h"

#include "platform/StringTable.h"

namespace {
// The host's own strings are in place as soon as the library is loaded.
const bool registered = [] {
    AfxRegisterString(IDS_SELECT_SLAVE_AXIS, "Please select a slave axis!");
    AfxRegisterString(IDS_INVALID_VALUE, "Invalid value of %s!");
    return true;
}();
}  // namespace
