// rovi-cli's FIELD=VALUE words from any bytes: a parse never fails
// unsafely, what it accepts reads back as the same words' byte, and a frame
// built from it is always a valid set frame.
#include "check.h"
#include "protocol/fieldwords.h"

#include <string>
#include <vector>

using namespace rovi;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // Words separated by NUL, as argv gives them.
    std::vector<std::string> words(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0)
            words.emplace_back();
        else
            words.back().push_back(static_cast<char>(data[i]));
    }
    const auto parsed = ParseAssignments(words);
    if (const auto *error = std::get_if<FieldError>(&parsed)) {
        FUZZ_CHECK(!error->message.empty());
        return 0;
    }
    const auto &values = std::get<std::vector<FieldValue>>(parsed);
    FUZZ_CHECK(!values.empty() && values.size() <= kFieldCount);
    for (const FieldValue &v : values) {
        FUZZ_CHECK(v.byte != 0); // 0 would mean "leave unchanged"
        const auto text = ValueText(v.field, v.byte);
        FUZZ_CHECK(text.has_value());
        const auto again = ParseAssignments({std::string(FieldName(v.field)) + "=" + *text});
        FUZZ_CHECK(std::holds_alternative<std::vector<FieldValue>>(again));
        FUZZ_CHECK(std::get<std::vector<FieldValue>>(again)[0].byte == v.byte);
    }
    const Frame frame = SetFrameFor(values);
    FUZZ_CHECK(VerifyReport(frame));
    return 0;
}
