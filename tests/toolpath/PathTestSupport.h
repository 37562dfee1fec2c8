// What the path tests share: catching refusals.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "toolpath/element/PathError.h"

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
