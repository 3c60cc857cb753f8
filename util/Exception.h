// The base of the errors the system raises with its own (Russian) messages.
// The message is code page 1251, as every text of the core.
#pragma once

#include <stdexcept>
#include <string>

namespace mirvex {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

}  // namespace mirvex
