#include "portinfo.h"

#include "netport.h"
#include "portdevice.h"

#include <algorithm>

namespace rovi {

std::string PortWords(const PortEntry &port)
{
    std::vector<std::string> words;
    for (const std::string *word : {&port.description, &port.maker, &port.serial_number})
        if (!word->empty() && std::find(words.begin(), words.end(), *word) == words.end())
            words.push_back(*word);
    std::string joined;
    for (const std::string &word : words)
        joined += (joined.empty() ? "" : " \xC2\xB7 ") + word; // a middle dot
    return joined;
}

bool PortPresent(const std::string &name)
{
    if (LooksLikeNetPort(name))
        return ParseNetPort(name).has_value(); // a server is only known to be there by connecting
    return DevicePresent(name);
}

OpenFailure DiagnoseOpenFailure(const std::string &name, int error)
{
    if (LooksLikeNetPort(name))
        return {OpenFailure::Kind::Network, error, name, {}, {}};
    return DiagnoseDeviceFailure(name, error);
}

bool JoiningTheGroupHelps(const OpenFailure &failure)
{
    return !failure.group.empty() && failure.group != "root" && failure.group_may_open;
}

} // namespace rovi
