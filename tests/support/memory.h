#pragma once
// Memory of a process as the long-run checks count it.
#include <windows.h>

namespace testing_support {

// Committed private memory, summed region by region: what PrivateUsage
// counts, on systems (Wine) that report PrivateUsage as 0.
SIZE_T CommittedPrivateBytes(HANDLE process);

// The bytes this process's heaps have handed out and not had back: what a
// leak grows, without the threads' stacks a thread pool's workers bring and
// take away with them.
SIZE_T HeapBytesInUse();

}  // namespace testing_support
