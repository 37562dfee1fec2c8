// The slave-axis combo boxes of the editor dialogs: one item per usable slave, with the slave
// number as item data.
#include "host/CMC_AxisData.h"
#include "host/CMC_EditMotionInternalData.h"
#include "host/CMC_Motion.h"
#include "host/CMC_Setup.h"
#include "platform/AfxWin.h"

// flags is reserved; pass 0.
void CMC_EditMotionInternalData::FillSlaveAxisIDsCombo(CWnd* combo, SlaveSetupFilter filter,
                                                       int selected, int /*flags*/) {
    if (combo == nullptr) return;
    combo->SendMessage(CB_RESETCONTENT);
    int count = m_pSetup->GetMotionControllerSlaveCount();
    for (int slave = 0; slave < count; ++slave) {
        BYTE axisId = 0;
        if (!m_pSetup->MotionController_GetAxisIDOfSlave(static_cast<BYTE>(slave), axisId) ||
            axisId == 0) {
            continue;
        }
        CMC_AxisData* axis = m_pMotion->GetMotionControllerSlaveAxis(slave);
        CMC_Setup* axisSetup = axis ? axis->GetAxisSetup() : nullptr;
        if (filter != nullptr && !filter(axisSetup)) continue;
        std::string text = std::to_string(axisId);
        auto index = combo->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        combo->SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(index), slave);
        if (slave == selected) combo->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index));
    }
}

int CMC_EditMotionInternalData::GetComboSelSlaveAxisID(CWnd* combo) {
    if (combo == nullptr) return -1;
    auto selection = combo->SendMessage(CB_GETCURSEL);
    if (selection < 0) return -1;
    return static_cast<int>(combo->SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(selection)));
}
