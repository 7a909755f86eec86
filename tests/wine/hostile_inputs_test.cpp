// Everything that can come from outside, fed to the real code paths: each
// must have a defined outcome and leave the program running.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "alerts/animation.h"
#include "alerts/frm_anim.h"
#include "alerts/media_player.h"
#include "support/paths.h"
#include "support/pump.h"
#include "support/stand_in.h"
#include "ui/twips.h"
#include "watch/envelope_probe.h"
#include "watch/marker_file.h"

using namespace testing_support;
using alerts::PlanAnimation;

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
  ui::TextBox txtMovie;
  alerts::frmAnim anim(txtMovie, [] { return std::wstring(L"1"); });
  ASSERT_TRUE(anim.LoadAndShow());
  for (const std::wstring& path : BadPaths()) {
    txtMovie.SetText(path);
    anim.set_playAnimTimes(3);
    anim.PlayRandomClip(-1);
    PumpFor(50);
    RECT r;
    GetWindowRect(anim.hwnd(), &r);
    EXPECT_EQ(r.left, GetSystemMetrics(SM_CXSCREEN)) << "path of length " << path.size();
    EXPECT_EQ(anim.playAnimTimes(), 3) << "left as StartAnimation set it";
  }
  anim.Unload();
}

TEST(HostileInputs, MarkerPathsAreNeverFound) {
  for (const std::wstring& path : BadPaths())
    EXPECT_EQ(watch::RealFileSystem().TakeMarker(path, Module1::FileNameOnly(path)), watch::Take::NotFound)
        << "path of length " << path.size();
}

TEST(HostileInputs, LoopTextsHaveAPlayCount) {
  const std::pair<const wchar_t*, std::int16_t> table[] = {
      {L"", 1}, {L"-1", 1}, {L"0", 1}, {L"2.5", 2}, {L"1e9", 1}, {L"&H10", 1}, {L" 3 ", 3},
      {L"32767", 32767}, {L"32768", 1}, {L"\u0663", 1}, {L"NaN", 1}, {L"inf", 1}};
  for (const auto& [text, plays] : table)
    EXPECT_EQ(PlanAnimation(base::kFalse, 0, text).plays, plays) << "text of length " << std::wstring(text).size();
  EXPECT_EQ(PlanAnimation(base::kFalse, 0, std::wstring(100000, L'9')).plays, 1);
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
  const ULONGLONG start = GetTickCount64();
  EXPECT_FALSE(Module1::CheckOutlookTray());
  EXPECT_LT(GetTickCount64() - start, 5000u);
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
