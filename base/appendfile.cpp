#include "appendfile.h"

namespace rovi {

bool AppendFile::WriteAll(std::string_view bytes, std::size_t *written)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::ptrdiff_t n = Write(bytes.substr(done));
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    if (written)
        *written = done;
    return done == bytes.size();
}

} // namespace rovi
