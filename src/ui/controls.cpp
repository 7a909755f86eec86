#include "ui/controls.h"

#include <vector>

namespace ui {

std::wstring WindowText(HWND hwnd) {
  const int length = GetWindowTextLengthW(hwnd);
  if (length <= 0) return {};
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
  const int copied = GetWindowTextW(hwnd, buffer.data(), length + 1);
  return std::wstring(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

void CheckBox::SetTicked(bool ticked) {
  if (ticked == ticked_) return;
  ticked_ = ticked;
  Show();
  if (Click) Click();
}

void CheckBox::Attach(HWND hwnd) {
  hwnd_ = hwnd;
  Show();
}

void CheckBox::OnNotify(WORD code) {
  if (code == BN_CLICKED) SetTicked(!ticked_);
}

void CheckBox::Show() const {
  if (hwnd_) SendMessageW(hwnd_, BM_SETCHECK, ticked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TextBox::SetText(const std::wstring& text) {
  const std::wstring cut = text.substr(0, kMaxChars);
  if (cut == text_) return;
  text_ = cut;
  if (hwnd_) {
    settingFromCode_ = true;
    SetWindowTextW(hwnd_, text_.c_str());
    settingFromCode_ = false;
  }
  if (Change) Change();
}

void TextBox::Attach(HWND hwnd) {
  hwnd_ = hwnd;
  SendMessageW(hwnd_, EM_SETLIMITTEXT, kMaxChars, 0);
  settingFromCode_ = true;
  SetWindowTextW(hwnd_, text_.c_str());
  settingFromCode_ = false;
}

void TextBox::OnNotify(WORD code) {
  if (code == EN_CHANGE) OnEditChange();
  if (code == EN_KILLFOCUS && LostFocus) LostFocus();
}

void TextBox::OnEditChange() {
  if (settingFromCode_ || !hwnd_) return;
  std::wstring now = WindowText(hwnd_);
  if (now == text_) return;
  text_ = std::move(now);
  if (Change) Change();
}

void Label::SetText(const std::wstring& text) {
  if (text == text_) return;
  text_ = text;
  if (hwnd_) SetWindowTextW(hwnd_, text_.c_str());
}

}  // namespace ui
