#include "platform/DialogTemplate.h"

#include <map>

namespace {
// Dialogs keep a reference to their template while they run, so replacing one is safe.
std::map<UINT, std::shared_ptr<const DialogTemplate>>& Registry() {
    static std::map<UINT, std::shared_ptr<const DialogTemplate>> registry;
    return registry;
}
}  // namespace

void AfxRegisterDialogTemplate(DialogTemplate tmpl) {
    UINT id = tmpl.id;
    Registry()[id] = std::make_shared<const DialogTemplate>(std::move(tmpl));
}

std::shared_ptr<const DialogTemplate> AfxFindDialogTemplate(UINT id) {
    auto it = Registry().find(id);
    return it == Registry().end() ? nullptr : it->second;
}
