// Everything that can come from outside, fed to the real code paths: each
// must have a defined outcome and leave the program running.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "alerts/frm_anim.h"
#include "alerts/media_player.h"
#include "support/paths.h"
#include "support/pump.h"
#include "support/stand_in.h"
#include "watch/envelope_probe.h"
#include "watch/marker_file.h"

using namespace testing_support;

namespace {

std::vector<std::wstring> BadPaths() {
  const std::wstring folder = TestFolder(L"hostile");
  return {L"",
          folder + L"\\missing.avi",
          folder,
          L"CON",
          L"NUL",
          L"LPT1",
          L"C:\\windows\\system32\\*.dll",
          L"relative\\clip.avi",
          L"q:\\no\\drive\\clip.avi",
          std::wstring(32000, L'a'),
          std::wstring(100000, L'7'),
          folder + L"\\" + std::wstring(300, L'n') + L".avi",
          L"\\\\?\\" + folder + L"\\missing.avi"};
}

TEST(HostileInputs, ClipPathsNeverPlayAndTheWindowParksRight) {
  std::wstring movie;
  alerts::frmAnim anim(movie, [] { return true; });
  ASSERT_TRUE(anim.LoadAndShow());
  for (const std::wstring& path : BadPaths()) {
    movie = path;
    anim.set_playAnimTimes(3);
    anim.PlayRandomClip(-1);
    RECT r{};
    EXPECT_TRUE(PumpUntil(
        [&] {
          GetWindowRect(anim.hwnd(), &r);
          return r.left == GetSystemMetrics(SM_CXSCREEN);
        },
        5000))
        << "path of length " << path.size() << ": at " << r.left;
    EXPECT_EQ(anim.playAnimTimes(), 3) << "left as StartAnimation set it";
    SetWindowPos(anim.hwnd(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // Parked where a monitor now is, as after the desk changed: a display
  // change parks it beyond the new desk.
  SendMessageW(anim.hwnd(), WM_DISPLAYCHANGE, 24, MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
  RECT r{};
  GetWindowRect(anim.hwnd(), &r);
  EXPECT_EQ(r.left, GetSystemMetrics(SM_CXSCREEN));
  anim.Unload();
}

class ProbeCrowd : public ::testing::Test {
 protected:
  void TearDown() override {
    for (HWND h : windows) DestroyWindow(h);
  }
  HWND Make(const wchar_t* cls, const wchar_t* title) {
    HWND h = CreateWindowExW(0, cls, title, WS_OVERLAPPED, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    windows.push_back(h);
    return h;
  }
  std::vector<HWND> windows;
};

TEST_F(ProbeCrowd, AThousandCandidatesAndHugeTitles) {
  StandInOutlook outlook;  // registers the class
  for (int i = 0; i < 1000; ++i) ASSERT_NE(Make(L"rctrl_renwnd32", L""), nullptr);
  const std::wstring huge(40000, L'\u00e9');
  for (int i = 0; i < 20; ++i) Make(L"STATIC", huge.c_str());
  EXPECT_FALSE(Module1::CheckOutlookTray());
  ASSERT_TRUE(outlook.AddEnvelope());
  EXPECT_TRUE(Module1::CheckOutlookTray()) << "found among a thousand candidates";
  EXPECT_EQ(outlook.NewMailMessages(), 1);
}

// The real desktop, but a window vanishes while the walk is under way.
class VanishingDesktop final : public watch::DesktopWindows {
 public:
  explicit VanishingDesktop(HWND victim) : victim_(victim) {}
  void EnumTopLevel(WNDENUMPROC callback, LPARAM param) override {
    callback_ = callback;
    param_ = param;
    ::EnumWindows(Visit, reinterpret_cast<LPARAM>(this));
  }
  int TitleLength(HWND h) override { return watch::RealDesktop().TitleLength(h); }
  void Title(HWND h, char* b, int n) override { watch::RealDesktop().Title(h, b, n); }
  void ClassName(HWND h, char* b, int n) override { watch::RealDesktop().ClassName(h, b, n); }
  BOOL DeleteNotifyIcon(HWND h, UINT id) override { return watch::RealDesktop().DeleteNotifyIcon(h, id); }
  void Send(HWND h, UINT msg) override { watch::RealDesktop().Send(h, msg); }
  bool destroyed = false;

 private:
  static BOOL CALLBACK Visit(HWND h, LPARAM p) {
    auto* self = reinterpret_cast<VanishingDesktop*>(p);
    if (!self->destroyed && self->victim_) {
      DestroyWindow(self->victim_);
      self->destroyed = true;
    }
    return self->callback_(h, self->param_);
  }
  HWND victim_;
  WNDENUMPROC callback_ = nullptr;
  LPARAM param_ = 0;
};

TEST_F(ProbeCrowd, AnOutlookWindowClosingDuringTheWalk) {
  StandInOutlook survivor;
  ASSERT_TRUE(survivor.AddEnvelope());
  HWND doomed = Make(L"rctrl_renwnd32", L"");
  windows.clear();  // the walk destroys it
  VanishingDesktop desktop(doomed);
  EXPECT_TRUE(Module1::CheckOutlookTray(desktop)) << "the walk went on to the envelope";
  EXPECT_TRUE(desktop.destroyed);
  EXPECT_FALSE(IsWindow(doomed));
  EXPECT_EQ(Module1::GetWindowLabel(watch::RealDesktop(), doomed).find("rctrl"), std::string::npos)
      << "a vanished window matches nothing";
}

}  // namespace
