#include "protocol/frame.h"
#include "protocol/hexstr.h"

#include <gtest/gtest.h>

#include <string_view>

using namespace rovi;

namespace {

std::string Line(const Frame &f)
{
    return HexLine(AsBytes(f));
}

Frame Report(std::uint8_t id, std::uint8_t wg, std::uint8_t fmt, std::uint8_t baud, std::uint8_t power,
             std::uint8_t reread, std::uint8_t send)
{
    return ComposeSetAll({0x00, id, wg, fmt, baud, power, reread, send});
}

} // namespace

TEST(Compose, CommandFramesMatchTheWireBytes)
{
    EXPECT_EQ(Line(ComposeQuery()), "FE F1 00 00 00 00 00 00 00 00 00 FF");
    EXPECT_EQ(Line(ComposeFactoryReset()), "FE F1 80 00 00 00 00 00 00 00 80 FF");
    EXPECT_EQ(Line(ComposeFieldSet(Field::id_addr, 5)), "FE F1 00 05 00 00 00 00 00 00 05 FF");
    EXPECT_EQ(Line(ComposeFieldSet(Field::wiegand, 0x42)), "FE F1 00 00 42 00 00 00 00 00 42 FF");
    EXPECT_EQ(Line(ComposeFieldSet(Field::reread, 0x8A)), "FE F1 00 00 00 00 00 00 8A 00 8A FF");
    EXPECT_EQ(Line(ComposeFieldSet(Field::ctrl, 0x33)), "FE F1 33 00 00 00 00 00 00 00 33 FF");
    EXPECT_EQ(Line(ComposeFieldSet(Field::send_time, 0x7C)), "FE F1 00 00 00 00 00 00 00 7C 7C FF");
}

TEST(Compose, SetAllChecksumWrapsModulo256)
{
    EXPECT_EQ(ComposeSetAll({0x01, 0x05, 0x41, 0x01, 0x04, 0x20, 0x03, 0x40})[kSumPos], 0xAF);
    EXPECT_EQ(ComposeSetAll({0x00, 0xF0, 0x44, 0x03, 0x08, 0x3F, 0xFC, 0x7C})[kSumPos], 0xF6);
}

TEST(VerifyReport, ChecksOnlyTheSum)
{
    Frame good = Report(5, 0x42, 1, 4, 0x20, 3, 0x45);
    EXPECT_EQ(Line(good), "FE F1 00 05 42 01 04 20 03 45 B4 FF");
    EXPECT_TRUE(VerifyReport(good));
    Frame bad = good;
    bad[kSumPos] ^= 1;
    EXPECT_FALSE(VerifyReport(bad));
    Frame odd_frame = good;
    odd_frame[0] = odd_frame[1] = odd_frame[11] = 0x00; // head and tail are not examined
    EXPECT_TRUE(VerifyReport(odd_frame));
    EXPECT_TRUE(VerifyReport(Frame{}));
}

TEST(DecodeReport, TheExampleReport)
{
    const ParameterSet p = DecodeReport(Report(5, 0x42, 1, 4, 0x20, 3, 0x45));
    EXPECT_EQ(p.id_addr, 5);
    EXPECT_EQ(p.wiegand, Wiegand(WiegandOutput{1}));
    EXPECT_EQ(p.serial_fmt, 0);
    EXPECT_EQ(p.baud, 3);
    EXPECT_EQ(p.power, Power(SoftwareControl{0}));
    EXPECT_EQ(p.reread, (Reread{false, TimeUnitReread::seconds, 3}));
    EXPECT_EQ(p.send_time, (SendTime{TimeUnitSend::seconds, 5}));
}

TEST(DecodeReport, TwelveZeroBytesDecodeOnlyTheTimes)
{
    const ParameterSet p = DecodeReport(Frame{});
    EXPECT_FALSE(p.id_addr || p.wiegand || p.serial_fmt || p.baud || p.power);
    EXPECT_EQ(p.reread, (Reread{false, TimeUnitReread::seconds, 0}));
    EXPECT_EQ(p.send_time, (SendTime{TimeUnitSend::tenths, 0}));
}

// Every byte value of every field against the decode table, as ranges.
TEST(DecodeReport, RecognisesExactlyTheTableRanges)
{
    for (int v = 0; v < 256; ++v) {
        const auto b = static_cast<std::uint8_t>(v);
        SCOPED_TRACE(v);
        EXPECT_EQ(DecodeIdAddr(b).has_value(), v >= 1 && v <= 240);
        EXPECT_EQ(DecodeWiegand(b).has_value(), v == 0x01 || (v >= 0x41 && v <= 0x44));
        EXPECT_EQ(DecodeSerialFmt(b).has_value(), v >= 1 && v <= 3);
        EXPECT_EQ(DecodeBaud(b).has_value(), v >= 1 && v <= 8);
        EXPECT_EQ(DecodePower(b).has_value(), v == 0x01 || (v >= 0x20 && v <= 0x3F));
        EXPECT_EQ(DecodeReread(b).has_value(), (v & 0x3F) <= 0x3C);
        EXPECT_EQ(DecodeSendTime(b).has_value(), v <= 0x3C || (v >= 0x40 && v <= 0x7C));
    }
    EXPECT_EQ(DecodeReread(0xBD), std::nullopt);
    EXPECT_EQ(DecodeReread(0xFC), (Reread{true, TimeUnitReread::minutes, 60}));
    EXPECT_EQ(DecodeWiegand(0x45), std::nullopt);
    EXPECT_EQ(DecodeSerialFmt(4), std::nullopt);
}

// Whatever the panel can encode decodes to the same meaning, except the two
// "disabled" choices that the reader's report does not carry back.
TEST(EncodeDecode, RoundTripsEveryEncodableValue)
{
    EXPECT_EQ(DecodeWiegand(EncodeWiegand(DipSwitchControl{})), Wiegand(DipSwitchControl{}));
    for (int k = 0; k < 5; ++k) {
        const auto decoded = DecodeWiegand(EncodeWiegand(WiegandOutput{k}));
        if (k == 4)
            EXPECT_EQ(decoded, std::nullopt);
        else
            EXPECT_EQ(decoded, Wiegand(WiegandOutput{k}));
    }
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(DecodeSerialFmt(EncodeSerialFmt(k)), k == 3 ? std::nullopt : std::optional<int>(k));
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(DecodeBaud(EncodeBaud(k)), k);
    EXPECT_EQ(DecodePower(EncodePower(ExternalControl{})), Power(ExternalControl{}));
    for (int k = 0; k < 32; ++k)
        EXPECT_EQ(DecodePower(EncodePower(SoftwareControl{k})), Power(SoftwareControl{k}));
    for (int t = 0; t <= 60; ++t) {
        for (bool leave : {false, true})
            for (auto unit : {TimeUnitReread::seconds, TimeUnitReread::minutes}) {
                const Reread r{leave, unit, t};
                EXPECT_EQ(DecodeReread(EncodeReread(r)), r);
            }
        for (auto unit : {TimeUnitSend::tenths, TimeUnitSend::seconds}) {
            const SendTime s{unit, t};
            EXPECT_EQ(DecodeSendTime(EncodeSendTime(s)), s);
        }
    }
}

TEST(AckSucceeded, LooksOnlyAtByteTwo)
{
    EXPECT_TRUE(AckSucceeded(std::array<std::uint8_t, 4>{0, 0, 0, 0}));
    EXPECT_TRUE(AckSucceeded(std::array<std::uint8_t, 4>{0xFF, 0xFF, 0, 0xFF}));
    EXPECT_FALSE(AckSucceeded(std::array<std::uint8_t, 4>{0, 0, 1, 0}));
}
