// The host's editor dialog base: child operations, parameters with their units, the update
// command, and the slave-axis combo boxes.
#include <gtest/gtest.h>

#include "host/CMC_ArrayParameter.h"
#include "host/CMC_AxisData.h"
#include "host/CMC_EditMotionDlg.h"
#include "host/CMC_Motion.h"
#include "host/CMC_Setup.h"
#include "host/CMC_Value.h"
#include "tests/platform/TestResource.h"
#include "tests/support/HeadlessRun.h"
#include "tests/support/StubModel.h"
#include "tests/support/TestProject.h"

namespace {

class ProbeDialog : public CMC_EditMotionDlg {
  public:
    ProbeDialog(CMC_Setup& setup, CMC_Motion& motion, CString& text)
        : CMC_EditMotionDlg(setup, motion, text, IDD_TEST, nullptr) {}

    std::function<void(ProbeDialog&)> probe;
    std::vector<std::string> log;

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        if (probe) probe(*this);
        return TRUE;
    }
    void OnUpdateSegment() { log.push_back("update"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ProbeDialog, CMC_EditMotionDlg)
ON_COMMAND(10041, &ProbeDialog::OnUpdateSegment)
END_MESSAGE_MAP()

int IsClosed(CMC_Setup* setup) { return setup && setup->GetIntOption("IsClosedPosition"); }

std::vector<std::string> Items(CWnd* combo) {
    std::vector<std::string> items;
    for (const auto& item : combo->GetItems().Items()) items.emplace_back(item.text);
    return items;
}

class EditMotionDlgTest : public ::testing::Test {
  protected:
    EditMotionDlgTest() : column(&drive) {
        drive.SetUnits(TestDrive{}.Units());
        drive.SetIntOption("IsClosedPosition", 1);
        column.InitializeMotionParam(VT_LONG, "X_TPOS", "mm", "1.5 2", MC_UNSET_LIMIT,
                                     MC_UNSET_LIMIT);
    }

    void Run(const std::function<void(ProbeDialog&)>& probe) {
        ProbeDialog dialog(controller, motion, text);
        dialog.probe = probe;
        RunHeadless("", [&] { return dialog.DoModal(); });
    }

    CMC_Setup controller;
    CMC_Setup drive;
    CMC_Motion motion;
    CString text;
    CMC_ArrayParameter column;
};

TEST_F(EditMotionDlgTest, ChildOperationsWorkByIdAndSkipMissingControls) {
    Run([](ProbeDialog& d) {
        d.SetChildText(IDC_NAME, "abc");
        EXPECT_EQ(d.GetChildText(IDC_NAME), "abc");
        d.EnableChild(IDC_NAME, FALSE);
        EXPECT_FALSE(d.IsChildEnabled(IDC_NAME));
        d.ShowChild(IDC_NAME, FALSE);
        EXPECT_FALSE(d.GetDlgItem(IDC_NAME)->IsWindowVisible());
        d.SetChildCheck(IDC_ENABLED, 5);
        EXPECT_EQ(d.GetChildCheck(IDC_ENABLED), BST_CHECKED);
        EXPECT_EQ(d.GetComboIndex(IDC_KIND), -1);
        d.GetDlgItem(IDC_KIND)->SendMessage(CB_SETCURSEL, 1);
        EXPECT_EQ(d.GetComboIndex(IDC_KIND), 1);

        d.SetChildText(9999, "x");
        d.EnableChild(9999, TRUE);
        EXPECT_EQ(d.GetChildText(9999), "");
        EXPECT_FALSE(d.IsChildEnabled(9999));
        EXPECT_EQ(d.GetChildCheck(9999), 0);
        EXPECT_EQ(d.GetComboIndex(9999), -1);
    });
}

TEST_F(EditMotionDlgTest, UpdateButtonSendsTheUpdateCommand) {
    ProbeDialog dialog(controller, motion, text);
    EXPECT_TRUE(dialog.OnCommand(MAKEWPARAM(1001, BN_CLICKED), 0));
    EXPECT_TRUE(dialog.OnCommand(MAKEWPARAM(10041, 0), 0));
    EXPECT_FALSE(dialog.OnCommand(MAKEWPARAM(1001, EN_CHANGE), 0));
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"update", "update"}));
    EXPECT_EQ(dialog.GetInternalData(), nullptr);
}

TEST_F(EditMotionDlgTest, ShowParameterShowsTheValueAndTheUnitsItConvertsTo) {
    Run([&](ProbeDialog& d) {
        d.ShowParameter(&column, 0, IDC_NAME, IDC_KIND, TRUE, SHOW_PARAMETER_UNITS);
        EXPECT_EQ(d.GetChildText(IDC_NAME), "1.5");
        std::vector<std::string> units = Items(d.GetDlgItem(IDC_KIND));
        EXPECT_NE(std::find(units.begin(), units.end(), "in"), units.end());
        EXPECT_NE(std::find(units.begin(), units.end(), "IU"), units.end());
        EXPECT_EQ(std::find(units.begin(), units.end(), "deg"), units.end());
        int selected = d.GetComboIndex(IDC_KIND);
        ASSERT_GE(selected, 0);
        EXPECT_EQ(units[static_cast<size_t>(selected)], "mm");
        EXPECT_TRUE(d.IsChildEnabled(IDC_NAME));

        d.ShowParameter(&column, 7, IDC_NAME, IDC_KIND, FALSE, SHOW_PARAMETER_UNITS);
        EXPECT_EQ(d.GetChildText(IDC_NAME), "");
        EXPECT_FALSE(d.IsChildEnabled(IDC_NAME));
        EXPECT_FALSE(d.IsChildEnabled(IDC_KIND));
        EXPECT_TRUE(d.GetDlgItem(IDC_KIND)->IsWindowVisible());
    });
}

TEST_F(EditMotionDlgTest, ShowParameterListsJustTheUnitWhenNothingConverts) {
    CMC_ArrayParameter plain(&drive);
    plain.InitializeMotionParam(VT_LONG, "X_TPOS", "", "4", MC_UNSET_LIMIT, MC_UNSET_LIMIT);
    Run([&](ProbeDialog& d) {
        d.ShowParameter(&plain, 0, IDC_NAME, IDC_KIND, TRUE, SHOW_PARAMETER_UNITS);
        EXPECT_EQ(d.GetChildText(IDC_NAME), "4");
        EXPECT_EQ(Items(d.GetDlgItem(IDC_KIND)), std::vector<std::string>{});
    });
}

TEST_F(EditMotionDlgTest, ChangeParameterUnitRewritesTheEditOnlyWhenAsked) {
    Run([&](ProbeDialog& d) {
        d.ShowParameter(&column, 0, IDC_NAME, IDC_KIND, TRUE, SHOW_PARAMETER_UNITS);
        std::vector<std::string> units = Items(d.GetDlgItem(IDC_KIND));
        auto meters = std::find(units.begin(), units.end(), "m") - units.begin();
        d.GetDlgItem(IDC_KIND)->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(meters));
        d.ChangeParameterUnit(&column, 0, IDC_NAME, IDC_KIND);
        EXPECT_EQ(column.GetSelectedUnit(), "m");
        EXPECT_EQ(d.GetChildText(IDC_NAME), "0.0015");

        auto micrometers = std::find(units.begin(), units.end(), "um") - units.begin();
        d.SetChildText(IDC_NAME, "typed");
        d.GetDlgItem(IDC_KIND)->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(micrometers));
        d.ChangeParameterUnit(&column, 0, 0, IDC_KIND);
        EXPECT_EQ(column.GetSelectedUnit(), "um");
        EXPECT_EQ(d.GetChildText(IDC_NAME), "typed");
    });
}

TEST_F(EditMotionDlgTest, SlaveComboListsUsableAxesWithTheSlaveNumberAsData) {
    CMC_Setup open;
    open.SetIntOption("IsClosedPosition", 0);
    for (BYTE axis : {BYTE{1}, BYTE{0}, BYTE{3}, BYTE{4}}) controller.AddSlave(axis);
    motion.SetSlaveAxis(0, std::make_unique<CMC_AxisData>(&drive));
    motion.SetSlaveAxis(1, std::make_unique<CMC_AxisData>(&drive));
    motion.SetSlaveAxis(2, std::make_unique<CMC_AxisData>(&drive));
    motion.SetSlaveAxis(3, std::make_unique<CMC_AxisData>(&open));
    StubModel model(controller, motion);
    Run([&](ProbeDialog& d) {
        CWnd* combo = d.GetDlgItem(IDC_KIND);
        model.FillSlaveAxisIDsCombo(combo, IsClosed, 2, 0);
        EXPECT_EQ(Items(combo), (std::vector<std::string>{"1", "3"}));
        EXPECT_EQ(combo->SendMessage(CB_GETITEMDATA, 1), 2);
        EXPECT_EQ(d.GetComboIndex(IDC_KIND), 1);
        EXPECT_EQ(model.GetComboSelSlaveAxisID(combo), 2);

        model.FillSlaveAxisIDsCombo(combo, IsClosed, 1, 0);
        EXPECT_EQ(model.GetComboSelSlaveAxisID(combo), -1) << "slave 1 has no axis id";
        model.FillSlaveAxisIDsCombo(combo, nullptr, 3, 0);
        EXPECT_EQ(Items(combo), (std::vector<std::string>{"1", "3", "4"}));
        EXPECT_EQ(model.GetComboSelSlaveAxisID(combo), 3);
        EXPECT_EQ(model.GetComboSelSlaveAxisID(nullptr), -1);
    });
}

}  // namespace
