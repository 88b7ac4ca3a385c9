#include "readermodel.h"

#include <cstdio>
#include <utility>

namespace rovi::sim {

ByteString Ack(std::uint8_t result)
{
    return ByteString{static_cast<char>(kHead0), static_cast<char>(kHead1), static_cast<char>(result),
                      static_cast<char>(kTail)};
}

ByteString Garbled(std::string_view bytes)
{
    ByteString out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        auto b = static_cast<std::uint8_t>(static_cast<std::uint8_t>(c) ^ 0x5A);
        b = static_cast<std::uint8_t>((b << 3) | (b >> 5));
        if (b == kHead0)
            b = 0xFC;
        out.push_back(static_cast<char>(b));
    }
    return out;
}

int ReaderModel::LineRate() const
{
    const auto index = DecodeBaud(fields_[static_cast<std::size_t>(Field::baud)]);
    return index ? kBaudRateValues[*index] : 9600;
}

bool AcceptableFieldValue(Field field, std::uint8_t v)
{
    switch (field) {
    case Field::ctrl: return true;
    case Field::id_addr: return v >= kIdMin && v <= kIdMax;
    case Field::wiegand: return v == kDipSwitchCode || (v >= kWiegandBase && v < kWiegandBase + kWiegandChoices);
    case Field::serial_fmt: return v >= 1 && v <= kSerialFmtChoices;
    case Field::baud: return v >= 1 && v <= kBaudRates;
    case Field::power: return v == kExternalPowerCode || (v >= kSoftwarePowerBase && v < kSoftwarePowerBase + kPowerLevels);
    case Field::reread: return DecodeReread(v).has_value();
    case Field::send_time: return DecodeSendTime(v).has_value();
    }
    return false;
}

Reply ReaderModel::Answer(const Frame &frame)
{
    if (!VerifyReport(frame))
        return {Ack(kAckBadChecksum)};
    const FieldBytes request = FieldBytesOf(frame);
    if (request[static_cast<std::size_t>(Field::ctrl)] == kFactoryResetCtrl) {
        fields_ = kFactory;
        return {Ack(kAckAccepted)};
    }
    if (request == FieldBytes{})
        return {ByteString(AsBytes(ComposeSetAll(fields_)))};
    if (std::exchange(refuse_next_, false))
        return {Ack(kAckBadValue)};
    if (std::exchange(ignore_next_, false))
        return {Ack(kAckAccepted)};
    for (std::size_t i = 0; i < kFieldCount; ++i)
        if (request[i] != 0 && !AcceptableFieldValue(static_cast<Field>(i), request[i]))
            return {Ack(kAckBadValue)};
    for (std::size_t i = 0; i < kFieldCount; ++i)
        if (request[i] != 0)
            fields_[i] = request[i];
    return {Ack(kAckAccepted)};
}

std::vector<Reply> ReaderModel::Finish(Reply reply)
{
    if (drop_next_) {
        drop_next_ = false;
        return {};
    }
    if (corrupt_next_ && reply.bytes.size() == kFrameSize) {
        corrupt_next_ = false;
        reply.bytes[kSumPos] = static_cast<char>(reply.bytes[kSumPos] ^ 0x5A);
    }
    reply.split = split_next_;
    split_next_ = false;
    reply.extra_delay_ms = delay_next_ms_;
    delay_next_ms_ = 0;
    return {reply};
}

std::vector<Reply> ReaderModel::Feed(std::string_view bytes)
{
    pending_.append(bytes);
    std::vector<Reply> replies;
    std::size_t pos = 0;
    while (pos < pending_.size()) {
        const auto b0 = static_cast<std::uint8_t>(pending_[pos]);
        if (b0 != kHead0) {
            ++pos; // resynchronise on the next head byte
            continue;
        }
        if (pending_.size() - pos < kFrameSize) {
            // A head byte followed by a wrong second byte is not a frame start.
            if (pending_.size() - pos >= 2 && static_cast<std::uint8_t>(pending_[pos + 1]) != kHead1) {
                ++pos;
                continue;
            }
            break; // wait for the rest of the frame
        }
        Frame frame{};
        for (std::size_t i = 0; i < kFrameSize; ++i)
            frame[i] = static_cast<std::uint8_t>(pending_[pos + i]);
        if (frame[kHead1Pos] != kHead1 || frame[kTailPos] != kTail) {
            ++pos;
            continue;
        }
        for (auto &r : Finish(Answer(frame)))
            replies.push_back(std::move(r));
        pos += kFrameSize;
    }
    pending_.erase(0, pos);
    return replies;
}

ByteString ReaderModel::CardOutput(std::uint32_t card) const
{
    char text[32];
    switch (fields_[static_cast<std::size_t>(Field::serial_fmt)]) {
    case 1: { // 标准格式: STX, 4 bytes of card number, XOR of them, ETX
        ByteString out{0x02};
        std::uint8_t x = 0;
        for (int shift = 24; shift >= 0; shift -= 8) {
            const auto b = static_cast<std::uint8_t>(card >> shift);
            out.push_back(static_cast<char>(b));
            x ^= b;
        }
        out.push_back(static_cast<char>(x));
        out.push_back(0x03);
        return out;
    }
    case 2: // 16进制卡号: eight upper-case hex digits, CR LF
        std::snprintf(text, sizeof text, "%08X\r\n", card);
        return text;
    case 3: // 10进制卡号: eight decimal digits (the low 8 digits), CR LF
        std::snprintf(text, sizeof text, "%08u\r\n", card % 100000000u);
        return text;
    default: // 串口禁止, or a format the reader does not know
        return {};
    }
}

} // namespace rovi::sim
