// What the path tests share: catching refusals, reading programs, elements on test projects.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "path/PathError.h"

// The message of the PathError that action throws, or "" (a failed expectation) when none.
inline std::string RefusalOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const PathError& error) {
        return error.what();
    }
    ADD_FAILURE() << "nothing was refused";
    return "";
}

// A three-axis element on slaves 0, 1, 2 as GetDefaultParameters writes it.
inline constexpr const char* kDefault3D =
    "ProfileType=1\nClearBuffer=1\nConfigureMode=1\nInsertEndSegment=1\nSlaveX=0\nSlaveY=1\n"
    "SlaveZ=2\nX_TPOS[IU]=0\nY_TPOS[IU]=0\nZ_TPOS[IU]=0\nCACC[IU/Ts^2]=0\nCSPD[IU/Ts]=0\n"
    "Execute=0\nWaitForCompletion=1\n";
