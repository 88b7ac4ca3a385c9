#pragma once

// A fresh temporary folder that is also the current directory while it lives
// (set.ini is read from the current directory).

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

namespace rovi::test {

class TempDir {
public:
    TempDir()
    {
        std::random_device random;
        for (;;) { // a name nobody has taken: create_directory fails on an existing one
            char name[32];
            std::snprintf(name, sizeof name, "rovi-test-%08x", static_cast<unsigned>(random()));
            path_ = std::filesystem::temp_directory_path() / name;
            if (std::filesystem::create_directory(path_))
                break;
        }
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
