#pragma once

#include <stdexcept>
#include <string>

namespace rovi {

// The program's base exception: every error the program raises on purpose
// derives from it, and the default error report shows its message.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string &message) : std::runtime_error(message) {}
};

// A text that does not parse as an integer.
class ConversionError : public Exception {
public:
    using Exception::Exception;
};

} // namespace rovi
