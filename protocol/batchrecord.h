#pragma once

// The record of a batch of readers set up one after another: a CSV file
// with a header and one row a reader (time, port, result, the eight fields
// read back in the words of fieldwords.h, the raw report, what went wrong).
// `rovi-cli provision` and the window's batch setup write the same rows.

#include "frame.h"

#include <optional>
#include <string>

namespace rovi {

struct BatchRow {
    std::string time; // ISO 8601 with milliseconds
    std::string port;
    bool ok = false;
    std::optional<Frame> report; // read back to verify, when there was one
    std::string detail;          // what went wrong; empty when ok
};

// "time,port,result,ctrl,id,wiegand,format,baud,power,reread,send,raw,detail\r\n"
std::string BatchRecordHeader();
// One CRLF line; texts quoted as CSV wants.
std::string BatchRecordLine(const BatchRow &row);

// Appends a row to the record, under the file's lock (two batches on one
// record take turns), the header first when the file is new or empty. False
// when it cannot be written.
bool AppendBatchRecord(const std::string &file, const BatchRow &row);

} // namespace rovi
