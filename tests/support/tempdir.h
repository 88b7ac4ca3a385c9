#pragma once

// A fresh temporary folder that is also the current directory while it lives
// (set.ini is read from the current directory).

#include <filesystem>
#include <stdlib.h>
#include <string>
#include <unistd.h>

namespace rovi::test {

class TempDir {
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "rovi-test-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(path_);
    }
    ~TempDir()
    {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::filesystem::path &Path() const { return path_; }
    // A device path that cannot exist: inside a folder that does not exist.
    std::string Absent() const { return (path_ / "absent" / "ttyUSB9").string(); }

private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
};

} // namespace rovi::test
