#pragma once
// Memory of a process as the long-run checks count it.
#include <windows.h>

namespace testing_support {

// Committed private memory, summed region by region: what PrivateUsage
// counts, on systems (Wine) that report PrivateUsage as 0.
SIZE_T CommittedPrivateBytes(HANDLE process);

}  // namespace testing_support
