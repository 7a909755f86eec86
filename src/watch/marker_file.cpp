#include "watch/marker_file.h"

#include <windows.h>

#include "base/scoped.h"

namespace watch {
namespace {

constexpr DWORD kNotPlain =
    FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DEVICE;

class Win32MarkerFileSystem final : public MarkerFileSystem {
 public:
  std::wstring FindFirstNormalFile(const std::wstring& path) override {
    if (path.empty() || path.find(L'\0') != std::wstring::npos) return {};
    WIN32_FIND_DATAW data;
    const base::FindHandle find(FindFirstFileExW(path.c_str(), FindExInfoBasic, &data,
                                                 FindExSearchNameMatch, nullptr, 0));
    if (!find) return {};
    std::wstring name;
    do {
      if (!(data.dwFileAttributes & kNotPlain)) {
        name = data.cFileName;
        break;
      }
    } while (FindNextFileW(find.get(), &data));
    // A device name (CON, NUL, LPT1) can be listed like a file; it is none.
    if (!name.empty() && !IsDiskFile(path)) return {};
    return name;
  }

  bool RemoveFile(const std::wstring& path) override {
    return IsDiskFile(path) && ::DeleteFileW(path.c_str());
  }

 private:
  static bool IsDiskFile(const std::wstring& path) {
    const base::UniqueHandle h(CreateFileW(path.c_str(), 0,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                           nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT,
                                           nullptr));
    return h && GetFileType(h.get()) == FILE_TYPE_DISK;
  }
};

}  // namespace

MarkerFileSystem& RealFileSystem() {
  static Win32MarkerFileSystem fs;
  return fs;
}

bool MarkerWatch::CheckMarkerFile(const std::wstring& path) {
  const std::wstring found = fs_.FindFirstNormalFile(path);
  const std::wstring name = Module1::FileNameOnly(path);
  if (name.empty() || found != name) {
    if (path == undeletable_) undeletable_.clear();
    return false;
  }
  if (fs_.RemoveFile(path)) {
    undeletable_.clear();
    return true;
  }
  if (path == undeletable_) return false;
  undeletable_ = path;
  return true;
}

}  // namespace watch

namespace Module1 {

std::wstring FileNameOnly(const std::wstring& path) {
  const size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace Module1
