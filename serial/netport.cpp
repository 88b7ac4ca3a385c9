#include "netport.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace rovi {

namespace {

struct Scheme {
    std::string_view prefix;
    NetPort::Kind kind;
};
constexpr Scheme kSchemes[] = {{"tcp://", NetPort::Kind::Tcp}, {"rfc2217://", NetPort::Kind::Rfc2217}};

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char p, char t) { return std::tolower(static_cast<unsigned char>(t)) == p; });
}

} // namespace

bool LooksLikeNetPort(const std::string &name)
{
    return std::any_of(std::begin(kSchemes), std::end(kSchemes),
                       [&](const Scheme &s) { return StartsWithNoCase(name, s.prefix); });
}

std::optional<NetPort> ParseNetPort(const std::string &name)
{
    for (const Scheme &scheme : kSchemes) {
        if (!StartsWithNoCase(name, scheme.prefix))
            continue;
        std::string_view rest = std::string_view(name).substr(scheme.prefix.size());
        while (!rest.empty() && rest.back() == '/')
            rest.remove_suffix(1);
        std::string_view host;
        std::string_view service;
        if (!rest.empty() && rest.front() == '[') {
            const std::size_t close = rest.find(']');
            if (close == std::string_view::npos || close + 1 >= rest.size() || rest[close + 1] != ':')
                return std::nullopt;
            host = rest.substr(1, close - 1);
            service = rest.substr(close + 2);
        } else {
            const std::size_t colon = rest.rfind(':');
            if (colon == std::string_view::npos)
                return std::nullopt;
            host = rest.substr(0, colon);
            service = rest.substr(colon + 1);
            if (host.find(':') != std::string_view::npos)
                return std::nullopt; // an IPv6 address wants brackets
        }
        const bool digits = !service.empty() && service.size() <= 5 &&
                            std::all_of(service.begin(), service.end(), [](char c) { return c >= '0' && c <= '9'; });
        const unsigned long number = digits ? std::stoul(std::string(service)) : 0;
        if (host.empty() || number == 0 || number > 65535)
            return std::nullopt;
        if (std::any_of(host.begin(), host.end(), [](char c) { return c == '/' || c == ' ' || c == '@'; }))
            return std::nullopt;
        return NetPort{scheme.kind, std::string(host), std::string(service)};
    }
    return std::nullopt;
}

} // namespace rovi
