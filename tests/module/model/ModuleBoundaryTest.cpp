// The module as the host sees it: loaded with dlopen, exports resolved by their plain names.
#include <gtest/gtest.h>

#include <string>

#include "host/CMC_Value.h"
#include "host/CString.h"
#include "module/plugin/VantrelExports.h"
#include "tests/support/BuiltModule.h"
#include "tests/support/TestProject.h"

namespace {

class Module : public ::testing::Test {
  protected:
    std::string DefaultText() {
        CString text = "old content";
        module.Export<GetDefaultParametersFn>("GetDefaultParameters")(project.controller,
                                                                      project.motion, text);
        return text.str();
    }

    const BuiltModule& module = BuiltModule::Get();
    TestProject project;
};

TEST_F(Module, TellsItsIdentity) {
    EXPECT_STREQ(module.Export<GetClassNameFn>("GetClassName")(), "Motion");
    EXPECT_STREQ(module.Export<GetNameFn>("GetName")(), "Linear Interpolation");
    EXPECT_EQ(module.Export<GetOrderIDFn>("GetOrderID")(), 4100);
    for (const char* name : {"TranslateMotionSequence", "IsEnabled", "GetDefaultParameters"})
        EXPECT_NE(module.Symbol(name), nullptr) << name;
    EXPECT_EQ(module.Symbol("IsClosedPositionAxis"), nullptr);  // internals stay hidden
}

TEST_F(Module, IsEnabledOnlyForAMotionControllerWithTheThreeVariables) {
    auto isEnabled = module.Export<IsEnabledFn>("IsEnabled");
    EXPECT_EQ(isEnabled(&project.controller), 1);
    EXPECT_EQ(isEnabled(nullptr), 0);

    CMC_Setup noPosition;
    noPosition.SetMotionController(true);
    noPosition.AddVariable("CACC", "", VT_FIXED);
    noPosition.AddVariable("CSPD", "", VT_FIXED);
    EXPECT_EQ(isEnabled(&noPosition), 0);

    CMC_Setup drive;
    drive.AddVariable("CACC", "", VT_FIXED);
    drive.AddVariable("CSPD", "", VT_FIXED);
    drive.AddVariable("TPOS", "", VT_LONG);
    EXPECT_EQ(isEnabled(&drive), 0);
}

TEST_F(Module, DefaultElementTakesTheFirstThreeSlavesWithAnAxis) {
    project.AddSlaves(4, TestDrive{});
    EXPECT_EQ(DefaultText(),
              "ProfileType=1\nClearBuffer=1\nConfigureMode=1\nInsertEndSegment=1\n"
              "SlaveX=0\nSlaveY=1\nSlaveZ=2\n"
              "X_TPOS[IU]=0\nY_TPOS[IU]=0\nZ_TPOS[IU]=0\nCACC[IU/Ts^2]=0\nCSPD[IU/Ts]=0\n"
              "Execute=0\nWaitForCompletion=1\n");
}

TEST_F(Module, DefaultElementSkipsSlavesWithoutAxisId) {
    const TestDrive drive;
    project.AddSlave(0, &drive);
    project.AddSlave(7, &drive);
    project.AddSlave(9, &drive);
    EXPECT_EQ(DefaultText(),
              "ProfileType=0\nClearBuffer=1\nConfigureMode=1\nInsertEndSegment=1\n"
              "SlaveX=1\nSlaveY=2\n"
              "X_TPOS[IU]=0\nY_TPOS[IU]=0\nCACC[IU/Ts^2]=0\nCSPD[IU/Ts]=0\n"
              "Execute=0\nWaitForCompletion=1\n");
}

TEST_F(Module, DefaultElementWithOneOrNoUsableSlave) {
    const TestDrive drive;
    project.AddSlave(0, &drive);
    EXPECT_NE(DefaultText().find("SlaveX=0\nSlaveY=0\n"), std::string::npos);
    project.AddSlave(3, &drive);
    EXPECT_NE(DefaultText().find("ProfileType=0\n"), std::string::npos);
    EXPECT_NE(DefaultText().find("SlaveX=1\nSlaveY=1\n"), std::string::npos);
}

TEST_F(Module, DefaultElementReadsBackOnLinearAndRotaryAxes) {
    const TestDrive rotary{"deg", 4096, 360.0, 0.001, true};
    for (const TestDrive& drive : {TestDrive{}, rotary}) {
        TestProject fresh;
        fresh.AddSlaves(2, drive);
        CString text, code;
        module.Export<GetDefaultParametersFn>("GetDefaultParameters")(fresh.controller,
                                                                      fresh.motion, text);
        module.Export<TranslateMotionSequenceFn>("TranslateMotionSequence")(
            fresh.controller, fresh.motion, text, code);
        // Only the all-zero segment stands in the way: the user completes it in the editor.
        EXPECT_EQ(code.str(),
                  "Illegal position increment values!\n"
                  "Segments cannot have all increments equal to 0.");
    }
}

}  // namespace
