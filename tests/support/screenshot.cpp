#include "support/screenshot.h"

#include <windows.h>

#include "base/scoped.h"
#include "support/paths.h"

namespace testing_support {

bool SaveScreenshot(const std::wstring& path) {
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  const base::WindowDc screen(nullptr);
  const base::MemoryDc mem(CreateCompatibleDC(screen.get()));
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  const base::GdiObject<HBITMAP> dib(CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib) return false;
  {
    const base::Selection selected(mem.get(), dib.get());
    BitBlt(mem.get(), 0, 0, w, h, screen.get(), 0, 0, SRCCOPY);
  }
  const DWORD stride = ((w * 3 + 3) & ~3), size = stride * h;
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
  fh.bfSize = fh.bfOffBits + size;
  const base::UniqueHandle f(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!f) return false;
  DWORD written;
  return WriteFile(f.get(), &fh, sizeof fh, &written, nullptr) &&
         WriteFile(f.get(), &bi.bmiHeader, sizeof bi.bmiHeader, &written, nullptr) &&
         WriteFile(f.get(), bits, size, &written, nullptr);
}

void ScreenshotOnFailure::TearDown() {
  if (!HasFailure()) return;
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::wstring name;
  for (const char* c = info->test_suite_name(); *c; ++c) name += *c == '/' ? L'_' : static_cast<wchar_t>(*c);
  SaveScreenshot(TestFolder(L"screenshots") + L"\\" + name + L"_" + std::to_wstring(GetTickCount()) + L".bmp");
}

}  // namespace testing_support
