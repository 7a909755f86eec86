// The marker's path rules, what a finished look-up means, and the look-ups
// that run off the window's thread, against a drive that blocks.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "base/path.h"
#include "base/scoped.h"
#include "support/fakes.h"
#include "support/pump.h"
#include "watch/marker_file.h"

namespace {

using watch::Take;

TEST(MarkerPath, OnlyTheBackslashSeparatesAndRelativePathsStartInTheGivenFolder) {
  EXPECT_EQ(base::FinalComponent(L""), L"");
  EXPECT_EQ(base::FinalComponent(L"new.flag"), L"new.flag");
  EXPECT_EQ(base::FinalComponent(L"C:\\mail\\"), L"");
  EXPECT_EQ(base::FinalComponent(L"C:/mail/new.flag"), L"C:/mail/new.flag");

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

  // Devices are never opened, however they are named.
  for (const wchar_t* device : {L"CON", L"nul", L"C:\\mail\\COM5", L"com5.flag", L"D:\\LPT1 .txt", L"C:AUX",
                                L"com\u00b9", L"CONIN$", L"\\\\.\\COM5", L"\\\\.\\C:\\new.flag",
                                L"\\\\?\\GLOBALROOT\\Device\\Serial0", L"\\\\server\\PIPE\\mail",
                                L"\\\\?\\UNC\\server\\pipe\\mail"})
    EXPECT_TRUE(base::NamesDevice(device)) << std::wstring(device).size();
  for (const wchar_t* file : {L"C:\\mail\\COM10", L"C:\\mail\\COM0", L"C:\\console\\new.flag", L"CONFIG.SYS",
                              L"\\\\server\\share\\new.flag", L"\\\\?\\C:\\mail\\new.flag", L"LPT.flag"})
    EXPECT_FALSE(base::NamesDevice(file)) << std::wstring(file).size();
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

class MarkerSourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    source.Found = [this] { ++found; };
  }
  // Answers delivered as the window would, once woken.
  bool Answered(int wakes) {
    const bool woken = testing_support::PumpUntil([&] { return box.wakes >= wakes; }, 5000);
    box.Deliver();
    return woken;
  }
  std::shared_ptr<SlowDrive> drive = std::make_shared<SlowDrive>();
  testing_support::TestMailbox box;
  std::wstring path = L"Q:\\mail\\new.flag";
  int found = 0;
  ULONGLONG now = 0;
  watch::MarkerSource source{drive, box, [] { return true; }, [this] { return path; }, [this] { return now; }};
};

TEST_F(MarkerSourceTest, ALookUpBlockedByItsDriveHoldsUpNeitherTheTickNorASecondLookUpOfItsPath) {
  source.Look();  // returns at once while the drive holds the look-up
  ASSERT_TRUE(testing_support::PumpUntil([&] { return drive->inside == 1; }, 5000));
  for (int tick = 0; tick < 3; ++tick) source.Look();
  EXPECT_EQ(drive->calls, 1) << "a look-up still in flight means no new one";

  drive->Answer(path, Take::Deleted);
  drive->Release();
  ASSERT_TRUE(Answered(1));
  EXPECT_EQ(found, 1) << "the answer is acted on when it comes";
  source.Look();
  EXPECT_TRUE(testing_support::PumpUntil([&] { return drive->calls == 2; }, 5000)) << "the next tick looks again";
}

TEST_F(MarkerSourceTest, APathWithoutANameIsNeverLookedUp) {
  path = L"C:\\mail\\";
  source.Look();
  EXPECT_FALSE(testing_support::PumpUntil([&] { return drive->calls > 0; }, 300));
}

TEST_F(MarkerSourceTest, ANewPathStartsASecondLookUpNeverAThirdAndAMarkerDeletedMeanwhileStillAlerts) {
  const std::wstring gone = L"Q:\\new.flag", local = L"C:\\new.flag", third = L"D:\\new.flag";
  drive->Answer(gone, Take::Deleted);
  drive->Answer(local, Take::Undeletable);
  for (const std::wstring& typed : {gone, local, third}) {  // the user typed other paths meanwhile
    path = typed;
    source.Look();
  }
  ASSERT_TRUE(testing_support::PumpUntil([&] { return drive->inside == 2; }, 5000));
  EXPECT_FALSE(testing_support::PumpUntil([&] { return drive->calls > 2; }, 300)) << "a third look-up in flight";
  drive->Release();
  ASSERT_TRUE(Answered(2));
  EXPECT_EQ(found, 1) << "the old look-up deleted its marker: that mail counts, an undeletable one not";
  ASSERT_TRUE(Answered(3)) << "the newest path, looked up once a look-up ended";

  // Off and on again: the old look-up's undeletable find no longer counts.
  drive->Answer(gone, Take::Undeletable);
  path = gone;
  source.Look();
  source.Rest();
  ASSERT_TRUE(Answered(4));
  EXPECT_EQ(found, 1);
}

TEST(MarkerSourceOwner, ALookUpThatHangsOutlivesTheSourceAndKeepsItsDriveAlive) {
  std::weak_ptr<SlowDrive> left;
  testing_support::TestMailbox box;
  {
    auto drive = std::make_shared<SlowDrive>();
    left = drive;
    watch::MarkerSource source(drive, box, [] { return true; }, [] { return L"Q:\\new.flag"; }, [] { return 0ULL; });
    source.Look();
    ASSERT_TRUE(testing_support::PumpUntil([&] { return drive->inside == 1; }, 5000));
    // Leaving the scope waits for nothing.
  }
  ASSERT_FALSE(left.expired()) << "the drive went while a look-up was inside it";
  left.lock()->Release();
  EXPECT_TRUE(testing_support::PumpUntil([&] { return left.expired(); }, 5000)) << "the look-up never let go";
  EXPECT_EQ(box.wakes, 0) << "a source that is gone was woken";
}

}  // namespace
