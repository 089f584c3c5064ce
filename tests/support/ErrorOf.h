// The message of the ZentrapError an action throws, or "no error", so that a test compares the
// message a user would see.
#pragma once

#include "common/ZentrapError.h"

#include <functional>
#include <string>

inline std::string errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const ZentrapError& e) {
        return e.what();
    }
    return "no error";
}
