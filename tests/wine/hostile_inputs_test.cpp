// Clip paths that can come from outside, fed to the real animation window:
// each must have a defined outcome and leave the program running.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "alerts/frm_anim.h"
#include "base/scoped.h"
#include "support/paths.h"
#include "support/process.h"
#include "support/pump.h"

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
  alerts::frmAnim anim([&] { return movie; }, [] { return true; });
  ASSERT_TRUE(anim.LoadAndShow());
  for (const std::wstring& path : BadPaths()) {
    movie = path;
    anim.set_playAnimTimes(3);
    anim.PlayRandomClip(-1);
    EXPECT_TRUE(PumpUntil([&] { return WindowRect(anim.hwnd()).left == GetSystemMetrics(SM_CXSCREEN); }, 5000))
        << "path of length " << path.size() << ": at " << WindowRect(anim.hwnd()).left;
    EXPECT_EQ(anim.playAnimTimes(), 3) << "left as StartAnimation set it";
    SetWindowPos(anim.hwnd(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // Parked where a monitor now is, as after the desk changed: a display
  // change parks it beyond the new desk.
  SendMessageW(anim.hwnd(), WM_DISPLAYCHANGE, 24,
               MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
  EXPECT_EQ(WindowRect(anim.hwnd()).left, GetSystemMetrics(SM_CXSCREEN));
  anim.Unload();
}

// A clip on a share that is gone: its check hangs, the window answers, and
// the next clip plays once it is asked for.
TEST(HostileInputs, AClipCheckThatHangsHoldsUpNeitherTheWindowNorTheNextClip) {
  const std::wstring gone = L"\\\\gone\\share\\clip.avi", clip = TestDataFolder() + L"\\msvideo1.avi";
  std::wstring movie = gone;
  const base::UniqueHandle share(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  alerts::frmAnim anim([&] { return movie; }, [] { return true; }, [&](const std::wstring& path) {
    if (path == gone) WaitForSingleObject(share.get(), 30000);
    return alerts::CheckIsDiskFile(path);
  });
  ASSERT_TRUE(anim.LoadAndShow());
  anim.set_playAnimTimes(1);
  anim.PlayRandomClip(-1);
  DWORD_PTR answer = 0;
  EXPECT_TRUE(SendMessageTimeoutW(anim.hwnd(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer));
  movie = clip;
  anim.PlayRandomClip(-1);
  EXPECT_TRUE(PumpUntil([&] { return OnScreen(anim.hwnd()); }, 5000)) << "the next clip waited for the hung check";
  SetEvent(share.get());
  PumpFor(500);
  EXPECT_TRUE(OnScreen(anim.hwnd())) << "the hung check's answer came too late to count";
  anim.Unload();
}

}  // namespace
