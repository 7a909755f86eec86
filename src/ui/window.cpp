#include "ui/window.h"

#include <algorithm>

namespace ui {

Window::~Window() {
  ReleaseTimers();
  if (HWND hwnd = hwnd_) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
    DestroyWindow(hwnd);
  }
}

void Window::ReleaseTimers() {
  const std::vector<Timer*> timers = std::move(timers_);
  timers_.clear();
  for (Timer* t : timers) t->Detach();
}

bool Window::RegisterClassOnce(const wchar_t* className, HICON icon, HBRUSH background) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (GetClassInfoExW(instance, className, &existing)) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = StaticWndProc;
  wc.hInstance = instance;
  wc.hIcon = icon;
  wc.hIconSm = icon;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = className;
  return RegisterClassExW(&wc) != 0;
}

bool Window::Create(const wchar_t* className, DWORD exStyle, DWORD style, const wchar_t* title,
                    int x, int y, int width, int height, HWND parent) {
  return CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, nullptr,
                         GetModuleHandleW(nullptr), this) != nullptr;
}

void Window::Host(Timer& timer) {
  timers_.push_back(&timer);
  timer.Attach(*this, ++lastTimerId_);
}

void Window::Arm(Timer& timer) {
  if (hwnd_) SetTimer(hwnd_, timer.Id(), timer.Interval(), nullptr);
}

void Window::Disarm(Timer& timer) {
  if (hwnd_) KillTimer(hwnd_, timer.Id());
}

void Window::Release(Timer& timer) { std::erase(timers_, &timer); }

LRESULT Window::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_TIMER) {
    for (Timer* t : timers_)
      if (t->Id() == wParam) {
        t->Fire();
        return 0;
      }
  }
  return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT CALLBACK Window::StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* self;
  if (msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
  const LRESULT result = self->HandleMessage(msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->ReleaseTimers();
    self->hwnd_ = nullptr;
  }
  return result;
}

}  // namespace ui
