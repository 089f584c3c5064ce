// The one exception type of the algorithms; what() is the text the user sees.
#pragma once

#include <stdexcept>
#include <string>

class ZentrapError : public std::runtime_error {
public:
    explicit ZentrapError(const std::string& message) : std::runtime_error(message) {}
};
