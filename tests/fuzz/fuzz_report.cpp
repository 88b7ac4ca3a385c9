// Report verification and decoding, and the acknowledgement outcome, on any
// bytes: a recognised field encodes back to the byte it came from (or to one
// that decodes to the same value), the checksum check matches its definition.
#include "check.h"
#include "protocol/frame.h"

#include <cstdint>
#include <span>

using namespace rovi;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size >= kAckSize) {
        const std::span<const std::uint8_t, kAckSize> ack(data, kAckSize);
        FUZZ_CHECK(AckSucceeded(ack) == (data[kAckResultPos] == 0));
    }
    if (size < kFrameSize)
        return 0;
    const std::span<const std::uint8_t, kFrameSize> report(data, kFrameSize);
    const FieldBytes fields = FieldBytesOf(report);
    for (std::size_t i = 0; i < kFieldCount; ++i)
        FUZZ_CHECK(fields[i] == data[kFirstFieldPos + i]);
    unsigned sum = 0;
    for (std::uint8_t b : fields)
        sum += b;
    FUZZ_CHECK(VerifyReport(report) == (data[kSumPos] == (sum & 0xFF)));

    const ParameterSet p = DecodeReport(report);
    const std::uint8_t *f = data + kFirstFieldPos;
    FUZZ_CHECK(p.id_addr.has_value() == DecodeIdAddr(f[1]).has_value());
    if (p.id_addr)
        FUZZ_CHECK(*p.id_addr == f[1] && *p.id_addr >= 1 && *p.id_addr <= 240);
    if (p.wiegand)
        FUZZ_CHECK(DecodeWiegand(EncodeWiegand(*p.wiegand)) == p.wiegand);
    if (p.serial_fmt)
        FUZZ_CHECK(EncodeSerialFmt(*p.serial_fmt) == f[3]);
    if (p.baud)
        FUZZ_CHECK(EncodeBaud(*p.baud) == f[4]);
    if (p.power)
        FUZZ_CHECK(DecodePower(EncodePower(*p.power)) == p.power);
    if (p.reread) {
        FUZZ_CHECK(p.reread->time >= 0 && p.reread->time <= 60);
        FUZZ_CHECK(DecodeReread(EncodeReread(*p.reread)) == p.reread);
    }
    if (p.send_time) {
        FUZZ_CHECK(p.send_time->time >= 0 && p.send_time->time <= 60);
        FUZZ_CHECK(DecodeSendTime(EncodeSendTime(*p.send_time)) == p.send_time);
    }
    // A set-all frame of these fields verifies and carries them unchanged.
    const Frame composed = ComposeSetAll(fields);
    FUZZ_CHECK(VerifyReport(composed) && FieldBytesOf(composed) == fields);
    return 0;
}
