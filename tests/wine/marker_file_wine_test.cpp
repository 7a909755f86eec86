// The marker file in a real folder: what may be taken, and that only the
// file checked is ever the one deleted.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "base/path.h"
#include "support/paths.h"
#include "watch/marker_file.h"

using namespace testing_support;

namespace {

using watch::Take;

class MarkerFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = TestFolder(L"marker_wine");
    Remove(folder + L"\\moved.flag");
  }
  std::wstring Make(const wchar_t* name, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    const std::wstring p = folder + L"\\" + name;
    EXPECT_TRUE(MakeFile(p, attributes));
    return p;
  }
  static Take TakeAt(watch::MarkerFileSystem& fs, const std::wstring& path) {
    return fs.TakeMarker(path, base::FinalComponent(path));
  }
  std::wstring folder;
  watch::Win32MarkerFileSystem fs;
};

TEST_F(MarkerFolder, ExactNameIsDeletedAnotherCaseOrItsShortNameIsNot) {
  const std::wstring p = Make(L"NewMail.flag");
  EXPECT_EQ(TakeAt(fs, folder + L"\\newmail.FLAG"), Take::NotFound);
  wchar_t shortPath[MAX_PATH] = {};
  if (GetShortPathNameW(p.c_str(), shortPath, MAX_PATH) && base::FinalComponent(shortPath) != L"NewMail.flag") {
    EXPECT_EQ(TakeAt(fs, shortPath), Take::NotFound) << "short name " << Narrow(shortPath);
  }
  EXPECT_TRUE(Exists(p));
  EXPECT_EQ(TakeAt(fs, p), Take::Deleted);
  EXPECT_FALSE(Exists(p));
  EXPECT_EQ(TakeAt(fs, p), Take::NotFound);
}

TEST_F(MarkerFolder, FoldersHiddenSystemFilesDevicesAndPatternsAreNeverTaken) {
  const std::wstring hidden = Make(L"hidden.flag", FILE_ATTRIBUTE_HIDDEN);
  const std::wstring system = Make(L"system.flag", FILE_ATTRIBUTE_SYSTEM);
  Make(L"NewMail.flag");
  for (const std::wstring& path : {hidden, system, folder, folder + L"\\*.flag", folder + L"\\NewMail.fla?",
                                   std::wstring(L"CON"), std::wstring(L"NUL"), std::wstring(L"LPT1"),
                                   folder + L"\\NUL", folder + L"\\com5.flag", std::wstring(L"\\\\.\\COM5"),
                                   std::wstring(32000, L'a')})
    EXPECT_EQ(TakeAt(fs, path), Take::NotFound) << "path of length " << path.size();
  // A drive or folder that is not there: said so, for the tray.
  for (const std::wstring& path : {std::wstring(L"q:\\no\\drive.flag"), folder + L"\\gone\\new.flag"})
    EXPECT_EQ(TakeAt(fs, path), Take::Unreachable) << "path of length " << path.size();
  EXPECT_TRUE(Exists(hidden));
  EXPECT_TRUE(Exists(system));
  EXPECT_TRUE(Exists(folder + L"\\NewMail.flag"));
}

TEST_F(MarkerFolder, AFileOverSixtyFourKibibytesIsNeverTheMarkerOneOfThemIs) {
  const std::wstring p = folder + L"\\NewMail.flag";
  ASSERT_TRUE(MakeFile(p, FILE_ATTRIBUTE_NORMAL, watch::kLargestMarker + 1));
  EXPECT_EQ(TakeAt(fs, p), Take::NotFound);
  EXPECT_TRUE(Exists(p));
  ASSERT_TRUE(MakeFile(p, FILE_ATTRIBUTE_NORMAL, watch::kLargestMarker));
  EXPECT_EQ(TakeAt(fs, p), Take::Deleted);
}

TEST_F(MarkerFolder, AReadOnlyOrLockedMarkerIsFoundButStays) {
  const std::wstring readOnly = Make(L"readonly.flag", FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(TakeAt(fs, readOnly), Take::Undeletable);
  EXPECT_TRUE(Exists(readOnly));

  const std::wstring locked = Make(L"NewMail.flag");
  HANDLE other = CreateFileW(locked.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  EXPECT_EQ(TakeAt(fs, locked), Take::InUse) << "in use by a program that shares no delete";
  CloseHandle(other);
  EXPECT_TRUE(Exists(locked));
}

// Another file put in the marker's place after the check: the one checked
// may go, the newcomer never.
class SwappingFileSystem final : public watch::Win32MarkerFileSystem {
 public:
  explicit SwappingFileSystem(std::wstring moveTo) : moveTo_(std::move(moveTo)) {}
  std::wstring path;

 protected:
  void BeforeDelete() override {
    MoveFileW(path.c_str(), moveTo_.c_str());
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }

 private:
  std::wstring moveTo_;
};

TEST_F(MarkerFolder, AFileSwappedInBetweenCheckAndDeleteIsNeverDeleted) {
  SwappingFileSystem swapping(folder + L"\\moved.flag");
  swapping.path = Make(L"NewMail.flag");
  TakeAt(swapping, swapping.path);
  ASSERT_TRUE(Exists(folder + L"\\moved.flag") || !Exists(swapping.path)) << "the swap was not staged";
  EXPECT_TRUE(Exists(swapping.path)) << "the file swapped in was deleted";
}

// Links made on the Unix side by the test set-up (Wine cannot make them):
// links/NewMail.flag -> target.flag, links/Dir.flag -> a folder.
TEST(MarkerLinks, ALinkAtTheMarkerPathNeverGetsItsTargetDeleted) {
  const std::wstring links = TestDataFolder() + L"\\links";
  if (!Exists(links + L"\\target.flag"))
    GTEST_SKIP() << "no links made for this run";
  watch::Win32MarkerFileSystem fs;
  EXPECT_EQ(fs.TakeMarker(links + L"\\NewMail.flag", L"NewMail.flag"), Take::NotFound);
  EXPECT_EQ(fs.TakeMarker(links + L"\\Dir.flag", L"Dir.flag"), Take::NotFound);
  EXPECT_TRUE(Exists(links + L"\\target.flag"));
  EXPECT_TRUE(Exists(links + L"\\NewMail.flag"));
}

}  // namespace
