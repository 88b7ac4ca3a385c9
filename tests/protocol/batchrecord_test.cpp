#include "protocol/batchrecord.h"

#include "protocol/fieldwords.h"

#include <gtest/gtest.h>

using namespace rovi;

// The columns rovi-cli provision has always written: a row read back, a
// failed one without a report, quotes in a text doubled.
TEST(BatchRecord, RowsInTheRecordsColumns)
{
    EXPECT_EQ(BatchRecordHeader(), "time,port,result,ctrl,id,wiegand,format,baud,power,reread,send,raw,detail\r\n");
    const Frame report = SetFrameFor({{Field::ctrl, 0x1A}, {Field::id_addr, 17}, {Field::wiegand, 0x42},
                                      {Field::serial_fmt, 2}, {Field::baud, 4}, {Field::power, 0x2B},
                                      {Field::reread, 0x83}, {Field::send_time, 0x05}});
    EXPECT_EQ(BatchRecordLine({"2026-12-10T18:00:00.000", "/dev/ttyUSB0", true, report, ""}),
              "2026-12-10T18:00:00.000,\"/dev/ttyUSB0\",ok,\"1A\",\"17\",\"34\",\"hex\",\"9600\",\"software:12\","
              "\"3s,leave\",\"0.5s\",FE F1 1A 11 42 02 04 2B 83 05 26 FF,\"\"\r\n");
    EXPECT_EQ(BatchRecordLine({"t", "COM3", false, std::nullopt, "the reader said \"no\""}),
              "t,\"COM3\",failed,,,,,,,,,,\"the reader said \"\"no\"\"\"\r\n");
}
