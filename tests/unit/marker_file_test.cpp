// The marker's path rules, what a finished lookup means, and the lookup that
// runs off the user-interface thread, against a file system that blocks.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>

#include "base/scoped.h"
#include "support/pump.h"
#include "watch/marker_file.h"

namespace {

using watch::Take;

TEST(MarkerPath, OnlyTheBackslashSeparatesAndRelativePathsStartWhereThePostlarkStarted) {
  EXPECT_EQ(Module1::FileNameOnly(L""), L"");
  EXPECT_EQ(Module1::FileNameOnly(L"new.flag"), L"new.flag");
  EXPECT_EQ(Module1::FileNameOnly(L"C:\\mail\\new.flag"), L"new.flag");
  EXPECT_EQ(Module1::FileNameOnly(L"C:\\mail\\"), L"");
  EXPECT_EQ(Module1::FileNameOnly(L"C:/mail/new.flag"), L"C:/mail/new.flag");

  const std::wstring start = L"D:\\Postlark";
  const std::pair<const wchar_t*, const wchar_t*> table[] = {
      {L"new.flag", L"D:\\Postlark\\new.flag"},
      {L"mail\\new.flag", L"D:\\Postlark\\mail\\new.flag"},
      {L"..\\new.flag", L"D:\\Postlark\\..\\new.flag"},
      {L"\\mail\\new.flag", L"D:\\mail\\new.flag"},
      {L"C:\\mail\\new.flag", L"C:\\mail\\new.flag"},
      {L"\\\\server\\share\\new.flag", L"\\\\server\\share\\new.flag"},
      {L"C:new.flag", L"C:new.flag"},  // drive-relative: never the marker
      {L"", L""},
  };
  for (const auto& [typed, resolved] : table)
    EXPECT_EQ(watch::ResolveMarkerPath(typed, start), resolved) << std::wstring(typed).size();
  EXPECT_EQ(watch::ResolveMarkerPath(L"\\new.flag", L"\\\\server\\share\\postlark"), L"\\\\server\\share\\new.flag");
  EXPECT_EQ(watch::ResolveMarkerPath(L"new.flag", L"C:\\"), L"C:\\new.flag");
}

TEST(MarkerWatch, AnUndeletableMarkerAlertsOnceUntilSeenGone) {
  watch::MarkerWatch watch;
  const std::wstring path = L"C:\\mail\\new.flag";
  EXPECT_TRUE(watch.Found(path, Take::Deleted));
  EXPECT_FALSE(watch.Found(path, Take::NotFound));
  EXPECT_TRUE(watch.Found(path, Take::Undeletable));
  EXPECT_FALSE(watch.Found(path, Take::Undeletable));
  EXPECT_FALSE(watch.Found(path, Take::Undeletable));
  EXPECT_FALSE(watch.Found(path, Take::NotFound));  // the user removed it
  EXPECT_TRUE(watch.Found(path, Take::Undeletable)) << "a new marker, still locked";
  EXPECT_TRUE(watch.Found(path, Take::Deleted)) << "deletable again: found and deleted";
}

// A drive that answers only when the test lets it.
class SlowDrive final : public watch::MarkerFileSystem {
 public:
  Take TakeMarker(const std::wstring& path, const std::wstring& name) override {
    ++calls;
    lastPath = path;
    lastName = name;
    inside = true;
    WaitForSingleObject(release_.get(), 30000);
    inside = false;
    return answer;
  }
  void Release() { SetEvent(release_.get()); }
  void Hold() { ResetEvent(release_.get()); }

  std::atomic<int> calls{0};
  std::atomic<bool> inside{false};
  Take answer = Take::NotFound;
  std::wstring lastPath, lastName;

 private:
  base::UniqueHandle release_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

TEST(MarkerCheck, ALookupBlockedByItsDriveHoldsUpNeitherTheTickNorASecondLookup) {
  SlowDrive drive;
  watch::MarkerCheck check(drive);
  const std::wstring path = L"Q:\\mail\\new.flag";
  // The tick returns at once while the drive holds the lookup.
  EXPECT_FALSE(check.CheckMarkerFile(path));
  ASSERT_TRUE(testing_support::PumpUntil([&] { return drive.inside.load(); }, 5000));
  EXPECT_EQ(drive.lastName, L"new.flag");
  for (int tick = 0; tick < 3; ++tick) EXPECT_FALSE(check.CheckMarkerFile(path));
  EXPECT_EQ(drive.calls, 1) << "a check still in flight means no new check";
  EXPECT_TRUE(drive.inside);

  // The drive answers: the next tick acts on the marker it found.
  drive.answer = Take::Deleted;
  drive.Release();
  // A tick while the answer is still on its way finds nothing and starts nothing.
  EXPECT_TRUE(testing_support::PumpUntil([&] { return check.CheckMarkerFile(path); }, 5000));
  EXPECT_EQ(drive.calls, 1);
  // The tick after that looks again.
  drive.answer = Take::NotFound;
  EXPECT_FALSE(check.CheckMarkerFile(path));
  ASSERT_TRUE(testing_support::PumpUntil([&] { return drive.calls == 2; }, 5000));
}

TEST(MarkerCheck, NoLookupStartsForAnEmptyNameOrWhileThePathIsBeingTyped) {
  SlowDrive drive;
  drive.Release();
  watch::MarkerCheck check(drive);
  EXPECT_FALSE(check.CheckMarkerFile(L"C:\\mail\\"));
  EXPECT_FALSE(check.CheckMarkerFile(L""));
  EXPECT_FALSE(check.CheckMarkerFile(L"C:\\mail\\new.flag", /*start=*/false));
  testing_support::PumpFor(200);
  EXPECT_EQ(drive.calls, 0);
  // A lookup made before the user started typing is still acted on.
  drive.answer = Take::Deleted;
  EXPECT_FALSE(check.CheckMarkerFile(L"C:\\mail\\new.flag"));
  EXPECT_TRUE(testing_support::PumpUntil([&] { return check.CheckMarkerFile(L"C:\\mail\\new.f", false); }, 5000));
  EXPECT_EQ(drive.calls, 1);
}

}  // namespace
