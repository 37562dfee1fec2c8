#include "platform/CCmdTarget.h"

namespace {
const AFX_MSGMAP_ENTRY* FindEntry(const AFX_MSGMAP_ENTRY* entry, UINT nID, UINT nCode) {
    for (; entry->nMessage != 0; ++entry) {
        if (entry->nMessage == WM_COMMAND && entry->nCode == nCode && entry->nID <= nID &&
            nID <= entry->nLastID) {
            return entry;
        }
    }
    return nullptr;
}
}  // namespace

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY noEntries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP rootMap = {nullptr, noEntries};
    return &rootMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

BOOL CCmdTarget::OnCmdMsg(UINT nID, UINT nCode) {
    for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        if (const AFX_MSGMAP_ENTRY* entry = FindEntry(map->lpEntries, nID, nCode)) {
            (this->*entry->pfn)();
            return TRUE;
        }
    }
    return FALSE;
}
