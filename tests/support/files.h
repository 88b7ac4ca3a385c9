#pragma once

// A file's whole contents, as bytes (empty when it cannot be read); the
// contents of every file in a folder whose name matches, in name order.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace rovi::test {

inline std::string ReadAll(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline std::string ReadAllMatching(const std::filesystem::path &folder, const std::string &name_pattern)
{
    const std::regex pattern(name_pattern);
    std::vector<std::filesystem::path> files;
    for (const auto &entry : std::filesystem::directory_iterator(folder))
        if (std::regex_match(entry.path().filename().string(), pattern))
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::string all;
    for (const auto &file : files)
        all += ReadAll(file.string());
    return all;
}

} // namespace rovi::test
