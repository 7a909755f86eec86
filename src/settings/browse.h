#pragma once
// The two "..." buttons: the platform's Open dialog, preset with the text
// box's path and a filter. Cancel or any failure changes nothing and says
// nothing.
#include <windows.h>

#include <string>

namespace settings {

inline constexpr wchar_t kMovieFilter[] =
    L"Video Files |*.avi;*.m4v;*.mov;*.mpeg;*.mpg|All Files (*.*)|*.*";
inline constexpr wchar_t kDetectFilter[] = L"All Files (*.*)|*.*";

// The common dialog as the buttons use it: one per window, so the filter the
// user last picked is kept from one use to the next.
class CommonDialog {
 public:
  std::wstring FileName;
  std::wstring Filter;  // label|patterns|label|patterns
  // Shows the modal Open dialog; false on Cancel or failure, which leave
  // FileName as it was.
  bool ShowOpen(HWND owner);

 private:
  DWORD filterIndex_ = 1;
};

// Converts "a|b|c|d" to the double-NUL-terminated list the dialog takes.
std::wstring DialogFilter(const std::wstring& filter);

}  // namespace settings
