// The record files' handle on Windows can be locked: LockFileEx needs read
// or write data access, and a record is only ever appended to. (Wine does
// not check the access LockFileEx needs, so this is said of the mask.)
#include "base/appendaccess_win32.h"

#include <gtest/gtest.h>

TEST(AppendFileAccess, LockableAndAppendOnly)
{
    EXPECT_NE(rovi::kAppendFileAccess & FILE_READ_DATA, 0u);   // what LockFileEx needs
    EXPECT_NE(rovi::kAppendFileAccess & FILE_APPEND_DATA, 0u); // every write at the end
    EXPECT_EQ(rovi::kAppendFileAccess & FILE_WRITE_DATA, 0u);  // and nowhere else
}
