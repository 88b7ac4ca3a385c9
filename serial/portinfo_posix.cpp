#include "portdevice.h"

#include "device.h"

#include <dirent.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>

namespace rovi {

namespace {

std::vector<std::string> Entries(const std::string &folder)
{
    std::vector<std::string> names;
    if (DIR *dir = opendir(folder.c_str())) {
        while (const dirent *e = readdir(dir)) {
            const std::string name = e->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<std::string> RealPath(const std::string &path)
{
    char buffer[PATH_MAX];
    if (!realpath(path.c_str(), buffer))
        return std::nullopt;
    return std::string(buffer);
}

std::string FirstLine(const std::string &path)
{
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

bool StartsWith(const std::string &text, const char *prefix)
{
    return text.rfind(prefix, 0) == 0;
}

// A process may name itself anything: control characters (a terminal's
// escape sequences) are shown as \xNN, never passed on.
std::string Printable(const std::string &name)
{
    std::string shown;
    for (const char c : name) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", b);
            shown += hex;
        } else {
            shown += c;
        }
    }
    return shown;
}

// A built-in port (ttyS*) is listed only when the kernel knows its UART type.
bool HasHardware(const std::string &tty)
{
    if (!StartsWith(tty, "ttyS"))
        return true;
    const std::string type = FirstLine("/sys/class/tty/" + tty + "/type");
    return !type.empty() && type != "0";
}

// A file of the USB device above a tty's interface, or empty.
std::string UsbDeviceFile(const std::string &tty, const char *file)
{
    const std::string device = "/sys/class/tty/" + tty + "/device";
    for (const char *up : {"/../", "/../../"}) {
        const std::string line = FirstLine(device + up + file);
        if (!line.empty())
            return line;
    }
    return {};
}

std::string DescriptionOf(const std::string &tty)
{
    if (StartsWith(tty, "ttyS"))
        return "built-in serial port";
    const std::string device = "/sys/class/tty/" + tty + "/device";
    // A USB interface's device folder sits below the USB device, which names its product.
    for (const char *up : {"/../product", "/../../product"}) {
        const std::string product = FirstLine(device + up);
        if (!product.empty())
            return product;
    }
    if (const auto driver = RealPath(device + "/driver"))
        return driver->substr(driver->rfind('/') + 1);
    return {};
}

} // namespace

namespace {

// Who holds each of the devices, in one walk over /proc/*/fd (as fuser does):
// holders[i] for real_paths[i].
std::vector<std::vector<PortHolder>> HoldersOfEach(const std::vector<std::string> &real_paths)
{
    std::vector<std::vector<PortHolder>> holders(real_paths.size());
    if (real_paths.empty())
        return holders;
    for (const std::string &pid : Entries("/proc")) {
        if (pid.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const std::string fds = "/proc/" + pid + "/fd";
        std::vector<bool> counted(real_paths.size(), false);
        for (const std::string &fd : Entries(fds)) {
            const auto open = RealPath(fds + "/" + fd);
            if (!open)
                continue;
            const auto it = std::find(real_paths.begin(), real_paths.end(), *open);
            if (it == real_paths.end())
                continue;
            const auto i = static_cast<std::size_t>(it - real_paths.begin());
            if (!counted[i])
                holders[i].push_back({static_cast<pid_t>(std::stol(pid)), Printable(FirstLine("/proc/" + pid + "/comm"))});
            counted[i] = true;
        }
    }
    return holders;
}

} // namespace

std::vector<PortHolder> HoldersOf(const std::string &path)
{
    const auto target = RealPath(path);
    if (!target)
        return {};
    return HoldersOfEach({*target}).front();
}

std::vector<PortEntry> ListPorts(PortHolders find_holders)
{
    std::vector<PortEntry> ports;
    for (const std::string &tty : Entries("/sys/class/tty")) {
        if (!std::ifstream("/sys/class/tty/" + tty + "/device/uevent") || !HasHardware(tty))
            continue;
        const std::string path = "/dev/" + tty;
        struct stat st {};
        if (stat(path.c_str(), &st) != 0)
            continue;
        ports.push_back({path, {}, DescriptionOf(tty), {}, UsbDeviceFile(tty, "manufacturer"), UsbDeviceFile(tty, "serial")});
    }
    if (find_holders == PortHolders::Find) {
        std::vector<std::string> real_paths;
        for (const PortEntry &port : ports)
            real_paths.push_back(RealPath(port.path).value_or(port.path));
        const auto holders = HoldersOfEach(real_paths);
        for (std::size_t i = 0; i < ports.size(); ++i)
            ports[i].holders = holders[i];
    }
    const std::string by_id = "/dev/serial/by-id";
    for (const std::string &name : Entries(by_id)) {
        const auto target = RealPath(by_id + "/" + name);
        for (PortEntry &port : ports)
            if (target && *target == port.path && port.by_id.empty())
                port.by_id = by_id + "/" + name;
    }
    return ports;
}

bool DevicePresent(const std::string &name)
{
    const auto path = ResolvePortName(name);
    struct stat st {};
    return path && stat(path->c_str(), &st) == 0;
}

OpenFailure DiagnoseDeviceFailure(const std::string &name, int error)
{
    OpenFailure failure{OpenFailure::Kind::Other, error, {}, {}, {}};
    const auto path = ResolvePortName(name);
    struct stat st {};
    if (!path || stat(path->c_str(), &st) != 0 || error == ENOENT || error == ENODEV || error == ENXIO) {
        failure.kind = OpenFailure::Kind::Missing;
        failure.path = path.value_or(name); // a name that stands for no device: itself
        return failure;
    }
    failure.path = *path;
    if (error == EACCES || error == EPERM) {
        failure.kind = OpenFailure::Kind::Permission;
        if (const group *g = getgrgid(st.st_gid))
            failure.group = g->gr_name;
        if (const passwd *u = getpwuid(st.st_uid))
            failure.owner = u->pw_name;
        failure.group_may_open = (st.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
        return failure;
    }
    if (error == EBUSY) {
        failure.kind = OpenFailure::Kind::Busy;
        failure.holders = HoldersOf(*path);
    }
    return failure;
}

std::string SystemErrorText(int error)
{
    return std::strerror(error);
}

} // namespace rovi
