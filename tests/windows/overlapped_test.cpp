// A read a driver does not end when cancelled: its record is kept, and a
// completion that comes later lands in the record's own buffer, which is
// still there. Played with a pipe whose read is cancelled through another
// handle (so the cancel reaches nothing, as with a stuck driver).
#include "serial/overlapped_win32.h"

#include <gtest/gtest.h>

#include <string>

using namespace rovi;

TEST(KeptRead, ALateCompletionLandsInTheKeptRecordsOwnBuffer)
{
    const char *name = "\\\\.\\pipe\\rovi-kept-read-test";
    HANDLE server = CreateNamedPipeA(name, PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED, PIPE_TYPE_BYTE, 1, 4096, 4096, 0,
                                     nullptr);
    ASSERT_NE(server, INVALID_HANDLE_VALUE);
    HANDLE client = CreateFileA(name, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(client, INVALID_HANDLE_VALUE);
    HANDLE elsewhere = CreateEventA(nullptr, TRUE, FALSE, nullptr); // no operation of ours is on it

    auto read = std::make_unique<ReadRecord>();
    ResetEvent(read->record.hEvent);
    ASSERT_FALSE(ReadFile(server, read->buffer.data(), 5, nullptr, &read->record));
    ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_IO_PENDING));
    read->pending = true;
    ReadRecord *kept = read.get();

    std::unique_ptr<OverlappedRecord> record = std::move(read);
    EXPECT_FALSE(CancelOrKeep(elsewhere, record, 50)) << "not ended: kept";
    EXPECT_EQ(record, nullptr) << "the keeper has it now";

    DWORD written = 0;
    ASSERT_TRUE(WriteFile(client, "late!", 5, &written, nullptr));
    ASSERT_EQ(WaitForSingleObject(kept->record.hEvent, 5000), static_cast<DWORD>(WAIT_OBJECT_0));
    DWORD got = 0;
    ASSERT_TRUE(GetOverlappedResult(server, &kept->record, &got, FALSE));
    EXPECT_EQ(std::string(kept->buffer.data(), got), "late!");

    // One that ends when cancelled stays the caller's.
    auto other = std::make_unique<ReadRecord>();
    ResetEvent(other->record.hEvent);
    ASSERT_FALSE(ReadFile(server, other->buffer.data(), 5, nullptr, &other->record));
    other->pending = true;
    std::unique_ptr<OverlappedRecord> mine = std::move(other);
    EXPECT_TRUE(CancelOrKeep(server, mine, 2000));
    EXPECT_NE(mine, nullptr);
    EXPECT_FALSE(mine->pending);

    CloseHandle(elsewhere);
    CloseHandle(client);
    CloseHandle(server);
}
