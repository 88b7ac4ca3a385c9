#include "appendfile.h"
#include "appendaccess_win32.h"
#include "texts.h"

#include "widepath.h"

#include <string>

namespace rovi {

namespace {

// What a file that is not a plain one is, in words; empty for a plain file.
std::string KindOf(DWORD attributes, DWORD links)
{
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return Translated("AppendFile", "是符号链接");
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return Translated("AppendFile", "是目录");
    if (links > 1)
        return Translated("AppendFile", "是另一个文件的硬链接");
    return {};
}

std::string ErrorWords(DWORD error)
{
    wchar_t *text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   error, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    std::string words = Filled(Translated("AppendFile", "错误 %1"), {std::to_string(error)});
    if (text) {
        const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
        std::string utf8(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
        WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), n, nullptr, nullptr);
        LocalFree(text);
        while (!utf8.empty() && (utf8.back() == '\n' || utf8.back() == '\r' || utf8.back() == ' '))
            utf8.pop_back();
        words = utf8;
    }
    return words;
}

} // namespace

std::optional<AppendFile> AppendFile::Open(const std::string &path, std::string *why)
{
    // FILE_FLAG_OPEN_REPARSE_POINT opens a link itself, which the checks below
    // refuse. LockFileEx needs read or write data access: FILE_READ_DATA
    // (appending alone is neither), never FILE_WRITE_DATA, which would let a
    // write land anywhere but the end.
    HANDLE h = CreateFileW(WidePath(path).c_str(), kAppendFileAccess,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        if (why)
            *why = path + " " + ErrorWords(GetLastError());
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    std::string kind;
    if (GetFileType(h) != FILE_TYPE_DISK)
        kind = Translated("AppendFile", "不是普通文件");
    else if (!GetFileInformationByHandle(h, &info))
        kind = ErrorWords(GetLastError());
    else
        kind = KindOf(info.dwFileAttributes, info.nNumberOfLinks);
    if (!kind.empty()) {
        CloseHandle(h);
        if (why)
            *why = path + " " + kind;
        return std::nullopt;
    }
    return AppendFile(static_cast<void *>(h));
}

AppendFile::AppendFile(AppendFile &&other) noexcept : handle_(other.handle_)
{
    other.handle_ = nullptr;
}

AppendFile &AppendFile::operator=(AppendFile &&other) noexcept
{
    if (this != &other) {
        if (handle_)
            CloseHandle(static_cast<HANDLE>(handle_));
        handle_ = other.handle_;
        other.handle_ = nullptr;
    }
    return *this;
}

AppendFile::~AppendFile()
{
    if (handle_)
        CloseHandle(static_cast<HANDLE>(handle_));
}

std::ptrdiff_t AppendFile::Write(std::string_view bytes)
{
    DWORD written = 0;
    if (!WriteFile(static_cast<HANDLE>(handle_), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        return written > 0 ? static_cast<std::ptrdiff_t>(written) : -1;
    return static_cast<std::ptrdiff_t>(written);
}

std::optional<unsigned long long> AppendFile::Size() const
{
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(static_cast<HANDLE>(handle_), &size))
        return std::nullopt;
    return static_cast<unsigned long long>(size.QuadPart);
}

bool AppendFile::Lock()
{
    OVERLAPPED at{};
    return LockFileEx(static_cast<HANDLE>(handle_), LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &at) != 0;
}

std::optional<std::string> WhyNotAPlainFileTarget(const std::string &path)
{
    const std::wstring wide = WidePath(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return std::nullopt;
    HANDLE h = CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    DWORD links = 1;
    if (h != INVALID_HANDLE_VALUE) {
        BY_HANDLE_FILE_INFORMATION info{};
        if (GetFileInformationByHandle(h, &info))
            links = info.nNumberOfLinks;
        const bool disk = GetFileType(h) == FILE_TYPE_DISK;
        CloseHandle(h);
        if (!disk)
            return path + " " + Translated("AppendFile", "不是普通文件");
    }
    if (std::string kind = KindOf(attributes, links); !kind.empty())
        return path + " " + kind;
    return std::nullopt;
}

} // namespace rovi
