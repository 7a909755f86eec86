#include "support/memory.h"

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

}  // namespace testing_support
