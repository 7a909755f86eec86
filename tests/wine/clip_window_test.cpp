// The real clip window: clip paths that can come from outside, each with a
// defined outcome; a look at a clip that hangs; a hide still to come when the
// next clip starts.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "alerts/clip_window.h"
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
  alerts::ClipWindow clip;
  ASSERT_TRUE(clip.Show(false));
  for (const std::wstring& path : BadPaths()) {
    clip.Play(path, alerts::ClipPlace::TopRight, 3);
    EXPECT_TRUE(PumpUntil([&] { return WindowRect(clip.hwnd()).left == GetSystemMetrics(SM_CXSCREEN); }, 5000))
        << "path of length " << path.size() << ": at " << WindowRect(clip.hwnd()).left;
    SetWindowPos(clip.hwnd(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  clip.Close();
}

// A clip on a share that is gone: its check hangs, the window answers, and
// the next clip plays once it is asked for. When it has played, the window
// stays parked left through a change of the display.
TEST(HostileInputs, AClipCheckThatHangsHoldsUpNeitherTheWindowNorTheNextClip) {
  const std::wstring gone = L"\\\\gone\\share\\clip.avi", clip = TestDataFolder() + L"\\short.avi";
  const base::UniqueHandle share(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  alerts::ClipWindow window([&](const std::wstring& path) {
    if (path == gone) WaitForSingleObject(share.get(), 30000);
    return alerts::CheckIsDiskFile(path);
  });
  ASSERT_TRUE(window.Show(true));
  window.Play(gone, alerts::ClipPlace::TopRight, 1);
  DWORD_PTR answer = 0;
  EXPECT_TRUE(SendMessageTimeoutW(window.hwnd(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer));
  window.Play(clip, alerts::ClipPlace::TopRight, 1);
  EXPECT_TRUE(PumpUntil([&] { return OnScreen(window.hwnd()); }, 5000)) << "the next clip waited for the hung check";
  SetEvent(share.get());
  PumpFor(300);
  EXPECT_TRUE(OnScreen(window.hwnd())) << "the hung check's answer came too late to count";
  ASSERT_TRUE(PumpUntil([&] { return ParkedLeft(window.hwnd()); }, 8000));
  SendMessageW(window.hwnd(), WM_DISPLAYCHANGE, 24,
               MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
  EXPECT_TRUE(ParkedLeft(window.hwnd())) << "a display change moved the parked window";
  window.Close();
}

// A clip started while the last one's hide is still to come plays in full:
// that hide belonged to the other.
TEST(ClipWindow, AHideStillToComeDoesNotParkTheNextClip) {
  const std::wstring clip = TestDataFolder() + L"\\msvideo1.avi";  // 2 s
  alerts::ClipWindow window;
  ASSERT_TRUE(window.Show(true));
  window.Play(clip, alerts::ClipPlace::TopRight, 1);
  ASSERT_TRUE(PumpUntil([&] { return OnScreen(window.hwnd()); }, 5000));
  window.CancelPlays();  // the user came back: parked two ticks from now
  window.Play(clip, alerts::ClipPlace::TopRight, 2);
  PumpFor(3000);
  EXPECT_TRUE(OnScreen(window.hwnd())) << "parked by the hide of the clip before";
  EXPECT_TRUE(PumpUntil([&] { return ParkedLeft(window.hwnd()); }, 8000)) << "not hidden after its own plays";
  window.Close();
}

}  // namespace
