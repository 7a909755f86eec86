#include "settings/browse.h"

#include <commdlg.h>

#include <vector>

#include "base/system_dll.h"

namespace settings {

std::wstring DialogFilter(const std::wstring& filter) {
  std::wstring list = filter;
  for (wchar_t& c : list)
    if (c == L'|') c = L'\0';
  list.push_back(L'\0');
  list.push_back(L'\0');
  return list;
}

namespace {

// The Open dialog's library is loaded the first time it is needed: most runs
// never browse, and start-up is quicker without it.
BOOL ShowOpenDialog(OPENFILENAMEW* ofn) {
  using GetOpenFileNameFn = BOOL(WINAPI*)(OPENFILENAMEW*);
  static const auto getOpenFileName = base::SystemProc<GetOpenFileNameFn>(L"comdlg32.dll", "GetOpenFileNameW");
  return getOpenFileName ? getOpenFileName(ofn) : FALSE;
}

}  // namespace

bool CommonDialog::ShowOpen(HWND owner) {
  // Room for the longest path the platform can name.
  std::vector<wchar_t> file(32768, L'\0');
  if (FileName.size() >= file.size()) return false;
  FileName.copy(file.data(), FileName.size());
  const std::wstring filter = DialogFilter(Filter);

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = filterIndex_;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  // The current folder is not the dialog's to move: relative paths elsewhere
  // in Postlark must keep meaning what they meant.
  ofn.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
  if (!ShowOpenDialog(&ofn)) return false;
  filterIndex_ = ofn.nFilterIndex;
  FileName = file.data();
  return true;
}

}  // namespace settings
