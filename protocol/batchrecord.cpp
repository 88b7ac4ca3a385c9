#include "batchrecord.h"

#include "fieldwords.h"
#include "hexstr.h"

#include "base/appendfile.h"

namespace rovi {

namespace {

std::string Quoted(const std::string &text)
{
    std::string out = "\"";
    for (char c : text)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

} // namespace

std::string BatchRecordHeader()
{
    return "time,port,result,ctrl,id,wiegand,format,baud,power,reread,send,raw,detail\r\n";
}

std::string BatchRecordLine(const BatchRow &row)
{
    std::string csv = row.time + "," + Quoted(row.port) + "," + (row.ok ? "ok" : "failed");
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        csv += ",";
        if (row.report)
            csv += Quoted(ValueText(static_cast<Field>(i), FieldBytesOf(*row.report)[i]).value_or(""));
    }
    return csv + "," + (row.report ? HexLine(AsBytes(*row.report)) : "") + "," + Quoted(row.detail) + "\r\n";
}

bool AppendBatchRecord(const std::string &file, const BatchRow &row)
{
    std::optional<AppendFile> record = AppendFile::Open(file);
    if (!record || !record->Lock())
        return false;
    const std::string line = (record->Size() == 0u ? BatchRecordHeader() : std::string()) + BatchRecordLine(row);
    return record->WriteAll(line);
}

} // namespace rovi
