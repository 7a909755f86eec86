// The marker file in a real folder: what the lookup reports and what may be
// deleted.
#include <gtest/gtest.h>

#include <string>

#include <windows.h>

#include "support/paths.h"
#include "watch/marker_file.h"

using namespace testing_support;

namespace {

class MarkerFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = TestFolder(L"marker_wine");
    for (const wchar_t* name : {L"new.flag", L"hidden.flag", L"system.flag", L"readonly.flag"}) {
      const std::wstring p = folder + L"\\" + name;
      SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(p.c_str());
    }
  }
  std::wstring Make(const wchar_t* name, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    const std::wstring p = folder + L"\\" + name;
    HANDLE h = CreateFileW(p.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
    EXPECT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    return p;
  }
  static bool Exists(const std::wstring& p) { return GetFileAttributesW(p.c_str()) != INVALID_FILE_ATTRIBUTES; }
  std::wstring folder;
  watch::MarkerWatch watch;
};

TEST_F(MarkerFolder, ExactNameIsDeletedOtherCaseIsNot) {
  const std::wstring p = Make(L"new.flag");
  EXPECT_FALSE(watch.CheckMarkerFile(folder + L"\\NEW.flag"));
  EXPECT_TRUE(Exists(p));
  EXPECT_TRUE(watch.CheckMarkerFile(p));
  EXPECT_FALSE(Exists(p));
  EXPECT_FALSE(watch.CheckMarkerFile(p));
}

TEST_F(MarkerFolder, FoldersHiddenAndSystemFilesAreNeverFound) {
  const std::wstring hidden = Make(L"hidden.flag", FILE_ATTRIBUTE_HIDDEN);
  const std::wstring system = Make(L"system.flag", FILE_ATTRIBUTE_SYSTEM);
  EXPECT_FALSE(watch.CheckMarkerFile(hidden));
  EXPECT_FALSE(watch.CheckMarkerFile(system));
  EXPECT_FALSE(watch.CheckMarkerFile(folder));
  EXPECT_TRUE(Exists(hidden));
  EXPECT_TRUE(Exists(system));
  EXPECT_TRUE(Exists(folder));
  SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_NORMAL);
  SetFileAttributesW(system.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(MarkerFolder, WildcardsDevicesAndMissingDrivesFindNothing) {
  Make(L"new.flag");
  for (const std::wstring& path : {folder + L"\\*.flag", folder + L"\\new.fla?", std::wstring(L"CON"),
                                   std::wstring(L"NUL"), std::wstring(L"LPT1"),
                                   std::wstring(L"q:\\no\\drive.flag"), std::wstring(32000, L'a')})
    EXPECT_FALSE(watch.CheckMarkerFile(path)) << "path of length " << path.size();
  EXPECT_TRUE(Exists(folder + L"\\new.flag"));
}

TEST_F(MarkerFolder, AReadOnlyMarkerAlertsOnceAndStays) {
  const std::wstring p = Make(L"readonly.flag", FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(watch.CheckMarkerFile(p));
  EXPECT_TRUE(Exists(p));
  EXPECT_FALSE(watch.CheckMarkerFile(p));
  SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(p.c_str());
}

TEST_F(MarkerFolder, ABareNameIsLookedUpInTheCurrentFolder) {
  const std::wstring p = Make(L"new.flag");
  wchar_t old[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, old);
  SetCurrentDirectoryW(folder.c_str());
  EXPECT_TRUE(watch.CheckMarkerFile(L"new.flag"));
  SetCurrentDirectoryW(old);
  EXPECT_FALSE(Exists(p));
}

}  // namespace
