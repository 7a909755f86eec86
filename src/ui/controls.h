#pragma once
// Option controls with the event rules Postlark's handlers are written for:
//  - A check box holds 0 (clear), 1 (ticked) or 2 (greyed). Click runs
//    whenever the value changes, whether the user clicked or code set it.
//  - A text box runs Change on every change of its text, from typing or from
//    code (but not when code sets the text it already has), and LostFocus when
//    the keyboard focus leaves it.
// The value lives in the object, so everything reads the current option at
// the moment of use, and tests can use the controls without any window.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace ui {

class CheckBox {
 public:
  explicit CheckBox(std::int16_t value = 0) : value_(value) {}
  std::int16_t Value() const { return value_; }
  void SetValue(std::int16_t value);
  void Attach(HWND hwnd);
  // BN_CLICKED: a click by the user ticks a clear or greyed box and clears a
  // ticked one.
  void OnUserClick();

  std::function<void()> Click;

 private:
  void Show() const;
  std::int16_t value_;
  HWND hwnd_ = nullptr;
};

class TextBox {
 public:
  // The longest path the platform can name; far beyond any loop count. A
  // longer text, which only the registry can hold, is cut to it.
  static constexpr size_t kMaxChars = 32767;

  explicit TextBox(std::wstring text = {}) : text_(std::move(text)) {}
  const std::wstring& Text() const { return text_; }
  void SetText(const std::wstring& text);
  void Attach(HWND hwnd);
  bool HasFocus() const { return hwnd_ && GetFocus() == hwnd_; }
  HWND hwnd() const { return hwnd_; }
  // EN_CHANGE and EN_KILLFOCUS from the edit control.
  void OnEditChange();
  void OnKillFocus();

  std::function<void()> Change;
  std::function<void()> LostFocus;

 private:
  std::wstring text_;
  HWND hwnd_ = nullptr;
  bool settingFromCode_ = false;
};

class Label {
 public:
  const std::wstring& Text() const { return text_; }
  void SetText(const std::wstring& text);
  void Attach(HWND hwnd) { hwnd_ = hwnd; }

 private:
  std::wstring text_;
  HWND hwnd_ = nullptr;
};

std::wstring WindowText(HWND hwnd);

}  // namespace ui
