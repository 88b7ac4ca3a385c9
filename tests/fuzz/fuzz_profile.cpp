// A profile file from any bytes: a parse never fails unsafely; what it
// accepts names each field once, and written out again reads back as the
// same bytes.
#include "check.h"
#include "protocol/profile.h"

#include <string_view>

using namespace rovi;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const auto parsed = ParseProfile(text);
    if (const auto *error = std::get_if<ProfileError>(&parsed)) {
        FUZZ_CHECK(!error->reason.empty() && error->line >= 0);
        return 0;
    }
    const auto &values = std::get<std::vector<FieldValue>>(parsed);
    FUZZ_CHECK(!values.empty() && values.size() <= kFieldCount);
    FieldBytes bytes{};
    for (const FieldValue &v : values) {
        FUZZ_CHECK(v.byte != 0 && bytes[static_cast<std::size_t>(v.field)] == 0);
        bytes[static_cast<std::size_t>(v.field)] = v.byte;
    }
    const auto written = ProfileText(bytes);
    FUZZ_CHECK(std::holds_alternative<std::string>(written));
    const auto again = ParseProfile(std::get<std::string>(written));
    FUZZ_CHECK(std::holds_alternative<std::vector<FieldValue>>(again));
    FUZZ_CHECK(BytesOf(std::get<std::vector<FieldValue>>(again)) == bytes);
    return 0;
}
