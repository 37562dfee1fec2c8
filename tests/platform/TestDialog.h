// A dialog of the tests' own that records which handlers ran.
#pragma once

#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "TestResource.h"
#include "platform/AfxWin.h"

class TestDialog : public CDialog {
  public:
    TestDialog() : CDialog(IDD_TEST) {}

    std::vector<std::string> log;  // handlers in the order they ran
    int count = 3;                 // exchanged with IDC_COUNT; must be a whole number
    std::string openedPath;        // what the Open button's file dialog chose
    int initFocus = 0;             // a control OnInitDialog focuses itself, if nonzero
    BOOL initResult = FALSE;       // what OnInitDialog returns after focusing initFocus
    // Runs inside the live dialog on command ID_RESET.
    std::function<void(TestDialog&)> onReset;

  protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnAdd();
    void OnOpen();
    void OnKind();
    void OnRows();
    void OnCountKillFocus();
    void OnEnabled();
    void OnReset();

    DECLARE_MESSAGE_MAP()
};

struct ScriptRun {
    INT_PTR result = 0;
    std::string output;    // the dumps, one a line
    std::string messages;  // the message boxes, one a line
    std::string error;

    // The dumps, read back with the library that wrote them; fields keep their order.
    std::vector<nlohmann::ordered_json> Dumps() const;
};

// The control of that symbol in a dump; throws when there is none.
const nlohmann::ordered_json& ControlIn(const nlohmann::ordered_json& dump,
                                        const std::string& symbol);

// Runs dialog with a headless back end playing script.
ScriptRun RunScript(CDialog& dialog, const std::string& script);

// Rebinds Add and leaves everything else to TestDialog's map.
class DerivedTestDialog : public TestDialog {
  protected:
    void OnAddHere();

    DECLARE_MESSAGE_MAP()
};
