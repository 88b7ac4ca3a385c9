#pragma once

// What the system says about serial devices: which are present, under which
// stable names, and who holds one that cannot be opened. Plain C++ over
// /dev, /sys and /proc on Linux, over the registry's SERIALCOMM key and the
// DOS device names on Windows; nothing here opens a device.

#include <string>
#include <sys/types.h>
#include <vector>

namespace rovi {

struct PortHolder {
    pid_t pid;
    std::string command; // /proc/PID/comm, control characters shown as \xNN
};

struct PortEntry {
    std::string path;        // /dev/ttyUSB0 (Windows: COM3)
    std::string by_id;       // /dev/serial/by-id/… naming it, or empty
    std::string description; // the USB product or the driver, or empty
    std::vector<PortHolder> holders;
    std::string maker;         // the USB device's manufacturer, or empty
    std::string serial_number; // the USB device's serial number, or empty
};

// The serial devices present: USB and ACM adapters, and built-in ports the
// kernel found hardware for. Sorted by path (Windows: by port number).
// Without holders, nothing is looked up in /proc (a cheap call to repeat).
enum class PortHolders { Find, Skip };
std::vector<PortEntry> ListPorts(PortHolders holders = PortHolders::Find);

// The words a person knows a port by: product, maker and serial number,
// each once, joined by " · ".
std::string PortWords(const PortEntry &port);

// The processes (this one included) with the device open, found through
// /proc/*/fd as fuser does; only those this user may look into.
std::vector<PortHolder> HoldersOf(const std::string &path);

// True when the device a port name stands for exists now (a cheap check,
// for watching an unplugged adapter come back).
bool PortPresent(const std::string &name);

// Why a port name could not be opened: the open's error number, and what
// the system says about the device.
struct OpenFailure {
    enum class Kind { Missing, Permission, Busy, Network, Other };
    Kind kind;
    int error;                       // the open's errno (Network: a NetFailure)
    std::string path;                // the device the name stands for (Missing: or the name)
    std::string group;               // Permission: the group that owns the device
    std::vector<PortHolder> holders; // Busy: who has it open, when we may see it
    std::string owner = {};          // Permission: the user that owns it
    bool group_may_open = true;      // Permission: the mode lets its group read and write it
};

// Windows: a missing port is Missing, one held elsewhere (access denied) is
// Busy, without holders; error is the open's GetLastError().
// A device server (tcp://, rfc2217://) that could not be reached is
// Network, its error a NetFailure, its path the name.
OpenFailure DiagnoseOpenFailure(const std::string &name, int error);

// Whether joining the device's group would let this user open it: never
// for root's group, nor when the mode gives the group no read and write.
bool JoiningTheGroupHelps(const OpenFailure &failure);

// The system's own words for an error number (errno, or GetLastError() on
// Windows), in UTF-8.
std::string SystemErrorText(int error);

} // namespace rovi
