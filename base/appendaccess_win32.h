#pragma once

// The access a record file is opened with on Windows: appending, reading
// its attributes (the checks on what stands there), waiting on the handle,
// and reading its data, which LockFileEx needs (it takes a handle with read
// or write data access; appending alone is neither). Never write data
// access, which would let a write land elsewhere than at the end.

#include "winapi.h"

namespace rovi {

inline constexpr DWORD kAppendFileAccess = FILE_APPEND_DATA | FILE_READ_DATA | SYNCHRONIZE | FILE_READ_ATTRIBUTES;

} // namespace rovi
