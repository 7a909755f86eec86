// The floppy light: with A: mapped to a folder (the test set-up does that),
// an alert reads A:\dummyfile at once and again every five seconds.
#include <gtest/gtest.h>

#include <string>

#include "support/paths.h"
#include "support/process.h"
#include "support/pump.h"
#include "support/registry.h"
#include "support/screenshot.h"
#include "support/stand_in.h"

using namespace testing_support;

namespace {

constexpr ULONGLONG kLongAgo = 125911584000000000ULL;  // 2000-01-01 as a FILETIME

ULONGLONG AccessTime(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<ULONGLONG>(data.ftLastAccessTime.dwHighDateTime) << 32) | data.ftLastAccessTime.dwLowDateTime;
}

void MakeOld(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  FILETIME old{static_cast<DWORD>(kLongAgo), static_cast<DWORD>(kLongAgo >> 32)};
  SetFileTime(h, nullptr, &old, nullptr);
  CloseHandle(h);
}

// Only where A: is the test's own folder: never on a real user's floppy.
bool UnderWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

TEST(FloppyE2E, AnAlertReadsTheDriveAtOnceAndEveryFiveSeconds) {
  if (!UnderWine()) GTEST_SKIP() << "needs drive A: mapped to a test folder";
  const std::wstring dummy = L"A:\\dummyfile";
  // A megabyte: A: may be a large USB drive, and the read stops at 64 KiB.
  if (!MakeFile(dummy, FILE_ATTRIBUTE_NORMAL, 1 << 20)) GTEST_SKIP() << "drive A: is not mapped here";
  MakeOld(dummy);
  ASSERT_EQ(AccessTime(dummy), kLongAgo);

  ClearOptions();
  SetOption(L"FlashDrive", L"1");
  PostlarkProcess postlark(PostlarkExe(), /*debug=*/true);
  ASSERT_TRUE(postlark.Started());
  PumpFor(1500);
  EXPECT_EQ(AccessTime(dummy), kLongAgo) << "no read before any mail";

  StandInOutlook outlook;
  ASSERT_TRUE(outlook.AddEnvelope());
  ASSERT_TRUE(PumpUntil([&] { return !outlook.HasEnvelope(); }, kCheckDeadlineMs));
  // The alert's 15 s and a little more: a read at once and one every 5 s.
  int reads = 0;
  PumpUntil(
      [&] {
        if (AccessTime(dummy) != kLongAgo) {
          ++reads;
          MakeOld(dummy);
        }
        return false;
      },
      17000);
  EXPECT_GE(reads, 3);
  EXPECT_LE(reads, 4);
  // Each read says what it read and the process's error mode: a drive that is
  // not ready must fail the read quietly, never ask for a disk.
  int traced = 0;
  for (const std::string& line : postlark.DebugOutput()) {
    if (line.find("Postlark: floppy ") != 0) continue;
    ++traced;
    const unsigned mode = std::stoul(line.substr(line.rfind(' ') + 1));
    EXPECT_TRUE(mode & SEM_FAILCRITICALERRORS) << line;
    EXPECT_NE(line.find("read 65536 bytes"), std::string::npos) << line;
  }
  EXPECT_GE(traced, 3);
}

}  // namespace
