// The floppy read that always closes its file.
#include <gtest/gtest.h>

#include <string>

#include "alerts/drives.h"
#include "support/paths.h"

namespace {

TEST(FloppyFlash, ReadsTheFileToItsEndAndClosesIt) {
  const std::wstring path = testing_support::TestFolder(L"floppy") + L"\\dummyfile";
  for (const DWORD bytes : {10, 0}) {
    ASSERT_TRUE(testing_support::MakeFile(path, FILE_ATTRIBUTE_NORMAL, bytes));
    alerts::FlashFloppyDrive(testing_support::Narrow(path).c_str());
    // Closed: it can be opened exclusively and deleted at once.
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(h, INVALID_HANDLE_VALUE) << "still open after reading " << bytes << " bytes";
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    EXPECT_TRUE(DeleteFileW(path.c_str()));
  }
}

}  // namespace
