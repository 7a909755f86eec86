// The marker's path rules, what a finished lookup means, and the lookups
// that run off the user-interface thread, against a drive that blocks.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "base/path.h"
#include "base/scoped.h"
#include "support/pump.h"
#include "watch/marker_file.h"

namespace {

using watch::Take;

TEST(MarkerPath, OnlyTheBackslashSeparatesAndRelativePathsStartInTheGivenFolder) {
  EXPECT_EQ(Module1::FileNameOnly(L""), L"");
  EXPECT_EQ(Module1::FileNameOnly(L"new.flag"), L"new.flag");
  EXPECT_EQ(Module1::FileNameOnly(L"C:\\mail\\"), L"");
  EXPECT_EQ(Module1::FileNameOnly(L"C:/mail/new.flag"), L"C:/mail/new.flag");

  const std::wstring start = L"D:\\Postlark";
  const std::pair<const wchar_t*, const wchar_t*> table[] = {
      {L"new.flag", L"D:\\Postlark\\new.flag"},
      {L"mail\\new.flag", L"D:\\Postlark\\mail\\new.flag"},
      {L"\\mail\\new.flag", L"D:\\mail\\new.flag"},
      {L"C:\\mail\\new.flag", L"C:\\mail\\new.flag"},
      {L"\\\\server\\share\\new.flag", L"\\\\server\\share\\new.flag"},
      {L"C:new.flag", L"C:new.flag"},  // drive-relative: never the marker
      {L"", L""},
  };
  for (const auto& [typed, resolved] : table)
    EXPECT_EQ(base::InFolder(typed, start), resolved) << std::wstring(typed).size();
  EXPECT_EQ(base::InFolder(L"\\new.flag", L"\\\\server\\share\\postlark"), L"\\\\server\\share\\new.flag");
  EXPECT_EQ(base::InFolder(L"new.flag", L"C:\\"), L"C:\\new.flag");

  // As Explorer copies a path, and as pasted text comes.
  for (const wchar_t* given : {L"\"C:\\new.flag\"", L"  C:\\new.flag\t", L" \" C:\\new.flag \" "})
    EXPECT_EQ(base::BarePath(given), L"C:\\new.flag") << std::wstring(given).size();
  EXPECT_EQ(base::BarePath(L"\""), L"\"") << "a lone quote is no pair";
}

TEST(MarkerWatch, AnUndeletableMarkerAlertsOnceUntilSeenGone) {
  watch::MarkerWatch watch;
  const std::wstring path = L"C:\\mail\\new.flag";
  EXPECT_TRUE(watch.Found(path, Take::Deleted));
  EXPECT_FALSE(watch.Found(path, Take::NotFound));
  EXPECT_TRUE(watch.Found(path, Take::Undeletable));
  EXPECT_FALSE(watch.Found(path, Take::Undeletable));
  EXPECT_FALSE(watch.Found(path, Take::NotFound));  // the user removed it
  EXPECT_TRUE(watch.Found(path, Take::Undeletable)) << "a new marker, still locked";
  EXPECT_TRUE(watch.Found(path, Take::Deleted)) << "deletable again: found and deleted";
  EXPECT_FALSE(watch.Found(path, Take::InUse)) << "its writer still holds it: not yet";
  EXPECT_TRUE(watch.Found(path, Take::Deleted)) << "closed and taken: one alert";
}

// A drive that answers only when the test lets it, with an answer per path.
class SlowDrive final : public watch::MarkerFileSystem {
 public:
  Take TakeMarker(const std::wstring& path, const std::wstring&) override {
    ++calls;
    ++inside;
    WaitForSingleObject(release_.get(), 30000);
    --inside;
    std::lock_guard<std::mutex> hold(lock_);
    return answers[path];
  }
  void Release() { SetEvent(release_.get()); }
  void Answer(const std::wstring& path, Take take) {
    std::lock_guard<std::mutex> hold(lock_);
    answers[path] = take;
  }

  std::atomic<int> calls{0}, inside{0};

 private:
  std::mutex lock_;
  std::map<std::wstring, Take> answers;
  base::UniqueHandle release_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

class MarkerCheckTest : public ::testing::Test {
 protected:
  bool WaitForWakes(int n) { return testing_support::PumpUntil([&] { return wakes >= n; }, 5000); }
  std::shared_ptr<SlowDrive> drive = std::make_shared<SlowDrive>();
  std::atomic<int> wakes{0};
  watch::MarkerCheck check{drive, [this] { ++wakes; }};
};

TEST_F(MarkerCheckTest, ALookupBlockedByItsDriveHoldsUpNeitherTheTickNorASecondLookupOfItsPath) {
  const std::wstring path = L"Q:\\mail\\new.flag";
  check.Look(path);  // returns at once while the drive holds the lookup
  ASSERT_TRUE(testing_support::PumpUntil([&] { return drive->inside == 1; }, 5000));
  for (int tick = 0; tick < 3; ++tick) check.Look(path);
  EXPECT_EQ(drive->calls, 1) << "a lookup still in flight means no new one";
  EXPECT_FALSE(check.Collect());

  drive->Answer(path, Take::Deleted);
  drive->Release();
  ASSERT_TRUE(WaitForWakes(1));
  EXPECT_TRUE(check.Collect()) << "the answer is acted on when it comes";
  EXPECT_FALSE(check.Collect());
  check.Look(path);
  EXPECT_TRUE(testing_support::PumpUntil([&] { return drive->calls == 2; }, 5000)) << "the next tick looks again";
  check.Look(L"C:\\mail\\");
  EXPECT_TRUE(WaitForWakes(2));
  EXPECT_EQ(drive->calls, 2) << "a path without a name is never looked up";
}

TEST_F(MarkerCheckTest, ANewPathStartsASecondLookupNeverAThirdAndAMarkerDeletedMeanwhileStillAlerts) {
  const std::wstring gone = L"Q:\\new.flag", local = L"C:\\new.flag", third = L"D:\\new.flag";
  drive->Answer(gone, Take::Deleted);
  drive->Answer(local, Take::Undeletable);
  check.Look(gone);
  check.Look(local);  // the user typed another path meanwhile
  check.Look(third);
  ASSERT_TRUE(testing_support::PumpUntil([&] { return drive->inside == 2; }, 5000));
  testing_support::PumpFor(100);
  EXPECT_EQ(drive->calls, 2) << "at most two lookups in flight";
  drive->Release();
  ASSERT_TRUE(WaitForWakes(2));
  EXPECT_TRUE(check.Collect()) << "the old lookup deleted its marker: that mail counts";

  // Off and on again: the old lookup's undeletable find no longer counts.
  check.Forget();
  drive->Answer(gone, Take::Undeletable);
  check.Look(gone);
  check.Forget();
  ASSERT_TRUE(WaitForWakes(3));
  EXPECT_FALSE(check.Collect());
}

TEST(MarkerCheckOwner, ALookupThatHangsOutlivesTheCheckAndKeepsItsDriveAlive) {
  std::weak_ptr<SlowDrive> left;
  {
    auto drive = std::make_shared<SlowDrive>();
    left = drive;
    watch::MarkerCheck check(drive, [] { ADD_FAILURE() << "a check that is gone was woken"; });
    check.Look(L"Q:\\new.flag");
    ASSERT_TRUE(testing_support::PumpUntil([&] { return drive->inside == 1; }, 5000));
    // Leaving the scope waits for nothing.
  }
  ASSERT_FALSE(left.expired()) << "the drive went while a lookup was inside it";
  left.lock()->Release();
  EXPECT_TRUE(testing_support::PumpUntil([&] { return left.expired(); }, 5000)) << "the lookup never let go";
}

}  // namespace
