#include "device.h"

#include <cctype>

namespace rovi {

std::optional<unsigned long> CommNumber(const std::string &name)
{
    if (name.size() < 4)
        return std::nullopt;
    for (std::size_t i = 0; i < 3; ++i)
        if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i])
            return std::nullopt;
    const std::string digits = name.substr(3);
    if (digits.size() > 9 || digits[0] == '0')
        return std::nullopt;
    for (char c : digits)
        if (c < '0' || c > '9')
            return std::nullopt;
    return std::stoul(digits);
}

LineTimeouts SerialDevice::Timeouts() const
{
    std::lock_guard lock(mutex_);
    return timeouts_;
}

} // namespace rovi
