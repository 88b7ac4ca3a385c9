#include "portdevice.h"

#include "device.h"

#include "base/winapi.h"

#include <algorithm>
#include <utility>

namespace rovi {

namespace {

std::string Utf8(const wchar_t *text, int length = -1)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), n, nullptr, nullptr);
    if (length < 0)
        out.pop_back(); // the terminating zero
    return out;
}

// The "COMn" a name stands for, without a \\.\ prefix.
std::string DosName(const std::string &name)
{
    const std::string prefix = "\\\\.\\";
    return name.rfind(prefix, 0) == 0 ? name.substr(prefix.size()) : name;
}

} // namespace

// The ports the drivers registered: HKLM\HARDWARE\DEVICEMAP\SERIALCOMM maps
// each driver's device (\Device\Serial0, \Device\VCP0…) to its COM name.
std::vector<PortEntry> ListPorts(PortHolders)
{
    std::vector<PortEntry> ports;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return ports;
    for (DWORD i = 0;; ++i) {
        wchar_t device[256];
        wchar_t com[64];
        DWORD device_size = 256, com_size = sizeof com, type = 0;
        const LONG r = RegEnumValueW(key, i, device, &device_size, nullptr, &type, reinterpret_cast<BYTE *>(com),
                                     &com_size);
        if (r == ERROR_NO_MORE_ITEMS)
            break;
        if (r != ERROR_SUCCESS || type != REG_SZ)
            continue;
        com[std::min<DWORD>(com_size / sizeof(wchar_t), 63)] = 0;
        ports.push_back({Utf8(com), {}, Utf8(device, static_cast<int>(device_size)), {}, {}, {}});
    }
    RegCloseKey(key);
    const auto order = [](const PortEntry &p) { return std::pair(CommNumber(p.path).value_or(0), p.path); };
    std::sort(ports.begin(), ports.end(), [&](const PortEntry &a, const PortEntry &b) { return order(a) < order(b); });
    return ports;
}

// Windows does not tell who holds a port.
std::vector<PortHolder> HoldersOf(const std::string &)
{
    return {};
}

// The DOS device name exists (Windows); failing that, the device answers
// an open without access rights, which neither reads nor writes it and
// counts a port held elsewhere as present (Wine, whose ports mapped in its
// dosdevices folder are not DOS device names).
bool DevicePresent(const std::string &name)
{
    if (name.empty())
        return false;
    char target[1024];
    if (QueryDosDeviceA(DosName(name).c_str(), target, sizeof target) != 0)
        return true;
    const auto path = ResolvePortName(name);
    if (!path)
        return false;
    const HANDLE h = CreateFileA(path->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                 nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        return true;
    }
    const DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND && error != ERROR_INVALID_NAME;
}

OpenFailure DiagnoseDeviceFailure(const std::string &name, int error)
{
    OpenFailure failure{OpenFailure::Kind::Other, error, DosName(name), {}, {}};
    switch (static_cast<DWORD>(error)) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        failure.kind = OpenFailure::Kind::Missing;
        break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_BUSY:
        failure.kind = OpenFailure::Kind::Busy;
        break;
    default:
        break;
    }
    return failure;
}

std::string SystemErrorText(int error)
{
    wchar_t *text = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, static_cast<DWORD>(error), 0, reinterpret_cast<wchar_t *>(&text), 0,
                                   nullptr);
    std::string out = n > 0 ? Utf8(text, static_cast<int>(n)) : "error " + std::to_string(error);
    if (text)
        LocalFree(text);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' ' || out.back() == '.'))
        out.pop_back();
    return out;
}

} // namespace rovi
