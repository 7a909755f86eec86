// The clip player against real DirectShow under Wine: clips made by
// tests/support/make_clips.sh in the folder named by POSTLARK_TEST_DATA.
#include "alerts/clip_player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <atomic>
#include <thread>
#include <vector>

#include "support/paths.h"
#include "support/pump.h"
#include "ui/twips.h"

namespace {

constexpr ULONGLONG kEndDeadlineMs = 20000;

using alerts::ClipPlayer;
using testing_support::Narrow;
using testing_support::PumpFor;
using testing_support::PumpUntil;

struct End {
  long result;
  DWORD thread;
  ULONGLONG tick;
};

class ClipPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = L"PostlarkClipHostTest";
    RegisterClassExW(&wc);
    parent_ = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"clip host",
                              WS_POPUP | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                              wc.hInstance, nullptr);
    ASSERT_NE(parent_, nullptr) << "CreateWindowExW error " << GetLastError();
    ASSERT_TRUE(player_.Create(parent_));
    dpi_ = ui::DpiFor(parent_);
    player_.EndOfPlay = [this](long result) {
      ends_.push_back({result, GetCurrentThreadId(), GetTickCount64()});
    };
  }

  void TearDown() override {
    player_.Stop();
    if (parent_) DestroyWindow(parent_);
    PumpFor(0);
  }

  // Path of a clip made by make_clips.sh; the test fails when it is missing.
  std::wstring Clip(const wchar_t* name) {
    const std::wstring dir = testing_support::TestDataFolder();
    EXPECT_FALSE(dir.empty()) << "no clip folder; run tests/support/make_clips.sh DIR";
    const std::wstring path = dir + L"\\" + name;
    EXPECT_TRUE(testing_support::Exists(path))
        << Narrow(path) << " is missing; run tests/support/make_clips.sh on POSTLARK_TEST_DATA";
    return path;
  }

  // As the clip window opens a clip: its file read on another thread while
  // this one goes on answering (the graph's video window is this thread's).
  HRESULT Open(const std::wstring& path) {
    const std::shared_ptr<alerts::ClipLoading> loading = ClipPlayer::Prepare(path);
    std::atomic<bool> loaded{false};
    std::thread reader([&] {
      ClipPlayer::Load(*loading);
      loaded = true;
    });
    PumpUntil([&] { return loaded.load(); }, 20000);
    reader.join();
    return player_.Take(loading);
  }

  bool WaitForEnds(size_t count, ULONGLONG timeoutMs = kEndDeadlineMs) {
    return PumpUntil([&] { return ends_.size() >= count; }, timeoutMs);
  }

  // Distinct colours in a grid over the picture: the test pattern has many,
  // an empty window one.
  size_t ColoursShown(int width, int height) const {
    HWND video = FindWindowExW(player_.hwnd(), nullptr, nullptr, nullptr);
    HDC dc = GetDC(video);
    std::set<COLORREF> colours;
    for (int y = height / 8; y < height; y += height / 4)
      for (int x = width / 16; x < width; x += width / 8) colours.insert(GetPixel(dc, x, y));
    ReleaseDC(video, dc);
    return colours.size();
  }

  HWND parent_ = nullptr;
  UINT dpi_ = 96;
  ClipPlayer player_;
  std::vector<End> ends_;
};

// --- Natural size and playback, per format --------------------------------

struct ClipCase {
  const wchar_t* file;
  int width;
  int height;
};

std::ostream& operator<<(std::ostream& os, const ClipCase& c) { return os << Narrow(c.file); }

std::string ClipTestName(const ::testing::TestParamInfo<ClipCase>& info) {
  std::string name = Narrow(info.param.file);
  for (auto& ch : name)
    if (ch == '.') ch = '_';
  return name;
}

class PlayableClip : public ClipPlayerTest, public ::testing::WithParamInterface<ClipCase> {};

TEST_P(PlayableClip, TakesItsNaturalSizeAndPlaysToTheEnd) {
  const ClipCase& c = GetParam();
  ASSERT_HRESULT_SUCCEEDED(Open(Clip(c.file)));
  EXPECT_FLOAT_EQ(player_.Width(), ui::PixelsToTwips(c.width, dpi_));
  EXPECT_FLOAT_EQ(player_.Height(), ui::PixelsToTwips(c.height, dpi_) + ClipPlayer::kControlStripTwips);

  RECT client{};
  GetClientRect(player_.hwnd(), &client);
  EXPECT_EQ(client.right, c.width);
  EXPECT_EQ(client.bottom, c.height + ui::TwipsToPixels(ClipPlayer::kControlStripTwips, dpi_));

  // The picture fills the control above its strip.
  HWND video = FindWindowExW(player_.hwnd(), nullptr, nullptr, nullptr);
  ASSERT_NE(video, nullptr) << "no video window inside the player";
  GetClientRect(video, &client);
  EXPECT_EQ(client.right, c.width);
  EXPECT_EQ(client.bottom, c.height);

  ASSERT_HRESULT_SUCCEEDED(player_.Show(true));
  const ULONGLONG start = GetTickCount64();
  ASSERT_HRESULT_SUCCEEDED(player_.Play());
  size_t colours = 0;
  PumpUntil(
      [&] {
        colours = std::max(colours, ColoursShown(c.width, c.height));
        return colours >= 3 || !ends_.empty();
      },
      10000);
  EXPECT_GE(colours, 3u) << "no picture drawn while the clip played";
  ASSERT_TRUE(WaitForEnds(1)) << "no end of play within " << kEndDeadlineMs << " ms";
  const ULONGLONG took = ends_[0].tick - start;
  EXPECT_GE(took, 1000u) << "a 2 s clip ended too soon";
  EXPECT_EQ(ends_[0].result, S_OK);
  EXPECT_EQ(ends_[0].thread, GetCurrentThreadId());
}

INSTANTIATE_TEST_SUITE_P(Formats, PlayableClip,
                         ::testing::Values(ClipCase{L"msvideo1.avi", 160, 120}, ClipCase{L"mjpeg.avi", 200, 100},
                                           ClipCase{L"h264.m4v", 160, 120}, ClipCase{L"h264.mov", 200, 100},
                                           ClipCase{L"mail.avi", 160, 120}),
                         ClipTestName);

// --- Play count -------------------------------------------------------------

TEST_F(ClipPlayerTest, PlayCountThreeRaisesThreeEndsThenStops) {
  ASSERT_HRESULT_SUCCEEDED(Open(Clip(L"short.avi")));
  player_.SetPlayCount(3);
  ASSERT_HRESULT_SUCCEEDED(player_.Play());
  ASSERT_TRUE(WaitForEnds(3)) << "ends seen: " << ends_.size();
  PumpFor(1500);  // three times the clip: a fourth play would have ended
  EXPECT_EQ(ends_.size(), 3u);
  for (const End& e : ends_) {
    EXPECT_EQ(e.result, S_OK);
    EXPECT_EQ(e.thread, GetCurrentThreadId());
  }
  // Each replay plays the whole clip rather than ending at once.
  EXPECT_GE(ends_[1].tick - ends_[0].tick, 250u);
  EXPECT_GE(ends_[2].tick - ends_[1].tick, 250u);
}

TEST_F(ClipPlayerTest, StopEndsPlaybackWithoutAnEnd) {
  ASSERT_HRESULT_SUCCEEDED(Open(Clip(L"msvideo1.avi")));
  ASSERT_HRESULT_SUCCEEDED(player_.Play());
  PumpFor(500);
  ASSERT_HRESULT_SUCCEEDED(player_.Stop());
  PumpFor(2500);  // past the clip's own end
  EXPECT_EQ(ends_.size(), 0u);
}

// --- Replacing and placing ----------------------------------------------------

TEST_F(ClipPlayerTest, ANewFileNameReplacesTheClip) {
  ASSERT_HRESULT_SUCCEEDED(Open(Clip(L"mjpeg.avi")));
  EXPECT_FLOAT_EQ(player_.Width(), ui::PixelsToTwips(200, dpi_));
  ASSERT_HRESULT_SUCCEEDED(player_.Play());
  ASSERT_HRESULT_SUCCEEDED(Open(Clip(L"short.avi")));
  EXPECT_FLOAT_EQ(player_.Width(), ui::PixelsToTwips(160, dpi_));
  EXPECT_FLOAT_EQ(player_.Height(), ui::PixelsToTwips(120, dpi_) + ClipPlayer::kControlStripTwips);
  ASSERT_HRESULT_SUCCEEDED(player_.Play());
  ASSERT_TRUE(WaitForEnds(1));
  PumpFor(2000);  // the first clip's end must not arrive
  EXPECT_EQ(ends_.size(), 1u);
}

// --- Files that are no clips ------------------------------------------------

// A file that is there but holds no picture (paths that name no file never
// reach the player: the clip window looks first). Refused, with nothing
// left loaded, whatever was loaded before.
TEST_F(ClipPlayerTest, AFileWithoutAPictureIsRefusedAndLeavesNothingLoaded) {
  const std::wstring text = testing_support::TestFolder(L"not_a_clip") + L"\\text.avi";
  ASSERT_TRUE(testing_support::MakeFile(text, FILE_ATTRIBUTE_NORMAL, 64));
  for (const std::wstring& path : {text, Clip(L"sound_only.avi")}) {
    SCOPED_TRACE(Narrow(path));
    ASSERT_HRESULT_SUCCEEDED(Open(Clip(L"short.avi")));
    EXPECT_HRESULT_FAILED(Open(path));
    EXPECT_HRESULT_FAILED(player_.Play());
    PumpFor(200);
    EXPECT_EQ(ends_.size(), 0u);
  }
}

}  // namespace
