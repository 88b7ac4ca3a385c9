#pragma once

// A file's whole contents, as bytes (empty when it cannot be read).

#include <fstream>
#include <sstream>
#include <string>

namespace rovi::test {

inline std::string ReadAll(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace rovi::test
