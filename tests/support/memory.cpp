#include "support/memory.h"

#include <algorithm>
#include <vector>

namespace testing_support {

SIZE_T CommittedPrivateBytes(HANDLE process) {
  SIZE_T bytes = 0;
  MEMORY_BASIC_INFORMATION mbi;
  for (const char* at = nullptr;
       VirtualQueryEx(process, at, &mbi, sizeof mbi) == sizeof mbi && mbi.RegionSize;
       at = static_cast<const char*>(mbi.BaseAddress) + mbi.RegionSize) {
    if (mbi.State == MEM_COMMIT && mbi.Type == MEM_PRIVATE) bytes += mbi.RegionSize;
  }
  return bytes;
}

SIZE_T HeapBytesInUse() {
  // Room for a heap or two made meanwhile; one made after is not counted.
  std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 8);
  heaps.resize(std::min<size_t>(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()), heaps.size()));
  SIZE_T bytes = 0;
  for (HANDLE heap : heaps) {
    if (!HeapLock(heap)) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heap, &entry))
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) bytes += entry.cbData;
    HeapUnlock(heap);
  }
  return bytes;
}

}  // namespace testing_support
