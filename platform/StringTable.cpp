#include "platform/StringTable.h"

#include <map>

namespace {
std::map<UINT, std::string>& Table() {
    static std::map<UINT, std::string> table;
    return table;
}
}  // namespace

void AfxRegisterString(UINT id, const char* text) { Table()[id] = text ? text : ""; }

bool AfxLoadString(UINT id, std::string& text) {
    auto it = Table().find(id);
    if (it == Table().end()) {
        text.clear();
        return false;
    }
    text = it->second;
    return true;
}
