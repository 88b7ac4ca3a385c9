// The simulated reader on random streams cut into random pieces: it answers
// the same whatever the pieces, every reply is an acknowledgement or a
// report with a good checksum, and its settings stay ones it accepts.
#include "check.h"
#include "tools/readersim/readermodel.h"

#include <cstdint>
#include <string_view>
#include <vector>

using namespace rovi;
using namespace rovi::sim;

namespace {

std::vector<ByteString> Replies(ReaderModel &model, std::string_view stream, const std::uint8_t *cuts,
                                std::size_t ncuts)
{
    std::vector<ByteString> out;
    std::size_t at = 0, i = 0;
    while (at < stream.size()) {
        const std::size_t n = ncuts == 0 ? stream.size() : 1 + cuts[i++ % ncuts] % 32;
        for (const Reply &r : model.Feed(stream.substr(at, n)))
            out.push_back(r.bytes);
        at += n;
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::size_t ncuts = std::min<std::size_t>(data[0] % 8, size - 1);
    const std::uint8_t *cuts = data + 1;
    const std::string_view stream(reinterpret_cast<const char *>(data + 1 + ncuts), size - 1 - ncuts);

    ReaderModel whole, pieces;
    const auto a = Replies(whole, stream, nullptr, 0);
    const auto b = Replies(pieces, stream, cuts, ncuts);
    FUZZ_CHECK(a == b);
    FUZZ_CHECK(whole.Fields() == pieces.Fields());
    for (const ByteString &r : a) {
        FUZZ_CHECK(r.size() == kAckSize || r.size() == kFrameSize);
        if (r.size() == kFrameSize)
            FUZZ_CHECK(VerifyReport(std::span<const std::uint8_t, kFrameSize>(
                reinterpret_cast<const std::uint8_t *>(r.data()), kFrameSize)));
    }
    const FieldBytes &f = whole.Fields();
    for (std::size_t i = 1; i < kFieldCount; ++i)
        FUZZ_CHECK(f[i] == 0 || AcceptableFieldValue(static_cast<Field>(i), f[i]));
    return 0;
}
