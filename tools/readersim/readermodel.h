#pragma once

#include "base/bytes.h"
#include "protocol/frame.h"

#include <cstdint>
#include <vector>

namespace rovi::sim {

// One reply of the simulated reader, with how it is to leave the line.
struct Reply {
    ByteString bytes;
    bool split = false;      // in two bursts more than 100 ms apart
    int extra_delay_ms = 0;  // answer late
};

// Acknowledgement result codes (byte 2): 0 accepted, anything else refused.
inline constexpr std::uint8_t kAckAccepted = 0x00;
inline constexpr std::uint8_t kAckBadChecksum = 0x01;
inline constexpr std::uint8_t kAckBadValue = 0x02;

// The reader as a device model: bytes in, replies out, no I/O.
class ReaderModel {
public:
    // ID 1, 韦根26, 标准格式, 9600, 软件控制 level 1, re-read 3 s, send time 0.5 s.
    static constexpr FieldBytes kFactory{0x00, 0x01, 0x41, 0x01, 0x04, 0x20, 0x03, 0x05};

    // Finds the frames in the bytes (keeping an incomplete one for the next
    // call, skipping bytes that do not form a frame) and answers each.
    std::vector<Reply> Feed(std::string_view bytes);

    const FieldBytes &Fields() const { return fields_; }
    // A setting from the start (reader-sim --baud), as a set would leave it.
    void Set(Field field, std::uint8_t value) { fields_[static_cast<std::size_t>(field)] = value; }
    // The rate the reader's line runs at: its baud field's (9600 when the
    // field holds no known rate).
    int LineRate() const;

    // Faults, each for the next reply only.
    void DropNextReply() { drop_next_ = true; }
    void CorruptNextChecksum() { corrupt_next_ = true; }
    void SplitNextReply() { split_next_ = true; }
    void DelayNextReply(int ms) { delay_next_ms_ = ms; }
    // The next set (not a query or a reset) is refused, or acknowledged
    // without changing anything (a reader that does not take the setting).
    void RefuseNextSet() { refuse_next_ = true; }
    void IgnoreNextSet() { ignore_next_ = true; }

    // What the reader sends for one card in its current serial format
    // (nothing when serial output is disabled).
    ByteString CardOutput(std::uint32_t card) const;

private:
    Reply Answer(const Frame &frame);
    std::vector<Reply> Finish(Reply reply);

    FieldBytes fields_ = kFactory;
    ByteString pending_;
    bool drop_next_ = false;
    bool corrupt_next_ = false;
    bool split_next_ = false;
    int delay_next_ms_ = 0;
    bool refuse_next_ = false;
    bool ignore_next_ = false;
};

// Whether a non-zero field byte is one the tool's panel can produce.
bool AcceptableFieldValue(Field field, std::uint8_t value);

ByteString Ack(std::uint8_t result);

// What a line at the wrong baud rate makes of bytes: as many bytes, garbled
// by a fixed rule, and never a frame's head (no FE), so never a reply.
ByteString Garbled(std::string_view bytes);

} // namespace rovi::sim
