#pragma once
// The controls of Postlark's options window, with the event rules its
// handlers are written for:
//  - A check box is ticked or clear. Click runs whenever that changes,
//    whether the user clicked or code set it.
//  - A text box runs Change on every change of its text, from typing or from
//    code (but not when code sets the text it already has), and LostFocus when
//    the keyboard focus leaves it.
//  - A button runs Click when pressed.
// The value lives in the object, so everything reads the current option at
// the moment of use, and tests can use the controls without any window.
// ControlSet creates each control's window from its design row and passes
// it the notifications the window sends (BN_CLICKED, EN_CHANGE, EN_KILLFOCUS).
#include <windows.h>

#include <functional>
#include <string>

#include "base/path.h"

namespace ui {

enum class Kind { Label, CheckBox, TextBox, Button };

class Control {
 public:
  virtual ~Control() = default;
  virtual Kind kind() const = 0;
  HWND hwnd() const { return hwnd_; }
  // The control's window now exists: show the value held so far.
  virtual void Attach(HWND hwnd) { hwnd_ = hwnd; }
  // A WM_COMMAND notification from the control's window.
  virtual void OnNotify(WORD) {}

 protected:
  HWND hwnd_ = nullptr;
};

class CheckBox final : public Control {
 public:
  Kind kind() const override { return Kind::CheckBox; }
  bool Ticked() const { return ticked_; }
  void SetTicked(bool ticked);
  void Attach(HWND hwnd) override;
  void OnNotify(WORD code) override;

  std::function<void()> Click;

 private:
  void Show() const;
  bool ticked_ = false;
};

class TextBox final : public Control {
 public:
  // Far beyond any loop count. A longer text, which only the registry can
  // hold, is cut to it.
  static constexpr size_t kMaxChars = base::kLongestText;

  Kind kind() const override { return Kind::TextBox; }
  const std::wstring& Text() const { return text_; }
  void SetText(const std::wstring& text);
  void Attach(HWND hwnd) override;
  bool HasFocus() const { return hwnd_ && GetFocus() == hwnd_; }
  void OnNotify(WORD code) override;

  std::function<void()> Change;
  std::function<void()> LostFocus;

 private:
  void OnEditChange();
  std::wstring text_;
  bool settingFromCode_ = false;
};

class Label final : public Control {
 public:
  Kind kind() const override { return Kind::Label; }
  const std::wstring& Text() const { return text_; }
  void SetText(const std::wstring& text);

 private:
  std::wstring text_;
};

class Button final : public Control {
 public:
  Kind kind() const override { return Kind::Button; }
  void OnNotify(WORD code) override {
    if (code == BN_CLICKED && Click) Click();
  }

  std::function<void()> Click;
};

std::wstring WindowText(HWND hwnd);

}  // namespace ui
