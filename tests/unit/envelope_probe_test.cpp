// The envelope probe's walk over a scripted desktop.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "watch/envelope_probe.h"

namespace {

struct FakeWindow {
  std::string title;
  std::string cls;
  bool envelope = false;  // icon 0 registered: the delete succeeds
};

class FakeDesktop final : public watch::DesktopWindows {
 public:
  explicit FakeDesktop(std::vector<FakeWindow> windows) : windows_(std::move(windows)) {}

  void EnumTopLevel(WNDENUMPROC callback, LPARAM param) override {
    for (size_t i = 0; i < windows_.size(); ++i)
      if (!callback(Handle(i), param)) break;
  }
  int TitleLength(HWND h) override { return static_cast<int>(At(h).title.size()); }
  void Title(HWND h, char* buffer, int count) override { Copy(At(h).title, buffer, count); }
  void ClassName(HWND h, char* buffer, int count) override { Copy(At(h).cls, buffer, count); }
  BOOL DeleteNotifyIcon(HWND h, UINT id) override {
    deletes.push_back(Index(h));
    if (id != 0 || !At(h).envelope) return FALSE;
    At(h).envelope = false;
    return TRUE;
  }
  void Send(HWND h, UINT msg) override { sent.push_back({Index(h), msg}); }

  static HWND Handle(size_t i) { return reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x100 + i)); }
  static size_t Index(HWND h) { return reinterpret_cast<UINT_PTR>(h) - 0x100; }
  FakeWindow& At(HWND h) { return windows_[Index(h)]; }

  std::vector<size_t> deletes;
  std::vector<std::pair<size_t, UINT>> sent;

 private:
  // As the A functions do: at most count - 1 characters and a NUL.
  static void Copy(const std::string& text, char* buffer, int count) {
    const size_t n = std::min(text.size(), static_cast<size_t>(count - 1));
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
  }
  std::vector<FakeWindow> windows_;
};

class EnvelopeProbe : public ::testing::Test {
 protected:
  void SetUp() override { Module1::gbMailArrived = base::kFalse; }
};

TEST_F(EnvelopeProbe, RemovesTheEnvelopeOfAnUntitledOutlookWindowAndSends1031) {
  FakeDesktop desktop({{"Inbox - Outlook", "rctrl_renwnd32", false},
                       {"", "Shell_TrayWnd", false},
                       {"", "rctrl_renwnd32", true}});
  EXPECT_TRUE(Module1::CheckOutlookTray(desktop));
  EXPECT_EQ(Module1::gbMailArrived, base::kTrue);
  EXPECT_EQ(desktop.deletes, (std::vector<size_t>{2}));
  ASSERT_EQ(desktop.sent.size(), 1u);
  EXPECT_EQ(desktop.sent[0], (std::pair<size_t, UINT>{2, 1031}));
  EXPECT_FALSE(desktop.At(FakeDesktop::Handle(2)).envelope);
}

TEST_F(EnvelopeProbe, CandidatesAreChosenByLabelTitleFirstCaseSensitive) {
  FakeDesktop desktop({{"Titled", "rctrl_renwnd32", true},         // titled: its label is the title
                       {"", "RCTRL_RENWND32", true},               // other case
                       {"", "rctrl_renwnd32x", true},              // longer
                       {"rctrl_renwnd32", "SomethingElse", true}});  // titled exactly so: a candidate
  EXPECT_TRUE(Module1::CheckOutlookTray(desktop));
  EXPECT_EQ(desktop.deletes, (std::vector<size_t>{3}));
}

TEST_F(EnvelopeProbe, FailedDeleteGoesOnAndFirstSuccessEndsTheWalk) {
  FakeDesktop desktop({{"", "rctrl_renwnd32", false},
                       {"", "rctrl_renwnd32", true},
                       {"", "rctrl_renwnd32", true}});
  EXPECT_TRUE(Module1::CheckOutlookTray(desktop));
  EXPECT_EQ(desktop.deletes, (std::vector<size_t>{0, 1}));
  ASSERT_EQ(desktop.sent.size(), 1u);
  EXPECT_EQ(desktop.sent[0].first, 1u);
  EXPECT_TRUE(desktop.At(FakeDesktop::Handle(2)).envelope) << "later windows untouched this tick";
}

TEST_F(EnvelopeProbe, NoEnvelopeLeavesTheFlagClearAndSendsNothing) {
  FakeDesktop desktop({{"", "rctrl_renwnd32", false}, {"", "Progman", false}});
  EXPECT_FALSE(Module1::CheckOutlookTray(desktop));
  EXPECT_EQ(Module1::gbMailArrived, base::kFalse);
  EXPECT_TRUE(desktop.sent.empty());
}

TEST_F(EnvelopeProbe, LabelsOfAnyLengthAreSafe) {
  const std::string huge(40000, 'x');
  FakeDesktop desktop({{huge, "rctrl_renwnd32", true},
                       {"", std::string(100, 'c'), false}});
  EXPECT_EQ(Module1::GetWindowLabel(desktop, FakeDesktop::Handle(0)), huge);
  // Class names are fetched into 64 characters: cut to 63.
  EXPECT_EQ(Module1::GetWindowLabel(desktop, FakeDesktop::Handle(1)), std::string(63, 'c'));
  EXPECT_FALSE(Module1::CheckOutlookTray(desktop));
}

TEST(TrimAtNul, CutsAtTheFirstNul) {
  EXPECT_EQ(Module1::TrimAtNul("abc"), "abc");
  EXPECT_EQ(Module1::TrimAtNul(std::string("ab\0cd", 5)), "ab");
  EXPECT_EQ(Module1::TrimAtNul(std::string("\0abc", 4)), "");
  EXPECT_EQ(Module1::TrimAtNul(""), "");
}

}  // namespace
