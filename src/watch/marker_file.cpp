#include "watch/marker_file.h"

#include <atomic>
#include <cwctype>
#include <vector>

#include "base/scoped.h"

namespace watch {
namespace {

constexpr DWORD kNotPlain = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                            FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Without FILE_FLAG_BACKUP_SEMANTICS a folder cannot be opened at all; with
// FILE_FLAG_OPEN_REPARSE_POINT a link is opened itself, not what it names.
HANDLE Open(const std::wstring& path, DWORD access) {
  return CreateFileW(path.c_str(), access | FILE_READ_ATTRIBUTES | SYNCHRONIZE, kShareAll, nullptr,
                     OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

// The last part of the file's name as the file system stores it, read
// through the handle: another letter case, a short 8.3 name or the target
// of a link never gives the name the user typed.
std::wstring StoredName(HANDLE file) {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (int attempt = 0; attempt < 2; ++attempt) {
    const DWORD n = GetFinalPathNameByHandleW(file, buffer.data(), static_cast<DWORD>(buffer.size()),
                                              FILE_NAME_NORMALIZED | VOLUME_NAME_NONE);
    if (n == 0) return {};
    if (n < buffer.size()) return Module1::FileNameOnly(std::wstring(buffer.data(), n));
    buffer.resize(n + 1);
  }
  return {};
}

bool IsPlainFileNamed(HANDLE file, const std::wstring& name) {
  BY_HANDLE_FILE_INFORMATION info;
  return GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info) &&
         !(info.dwFileAttributes & kNotPlain) && StoredName(file) == name;
}

}  // namespace

Take Win32MarkerFileSystem::TakeMarker(const std::wstring& path, const std::wstring& name) {
  if (name.empty() || path.find(L'\0') != std::wstring::npos) return Take::NotFound;
  base::UniqueHandle file(Open(path, DELETE));
  bool mayDelete = true;
  if (!file) {
    // In use without delete sharing, or no right to delete: look, only look.
    const DWORD error = GetLastError();
    if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) return Take::NotFound;
    file.Reset(Open(path, 0));
    if (!file) return Take::NotFound;
    mayDelete = false;
  }
  if (!IsPlainFileNamed(file.get(), name)) return Take::NotFound;
  if (!mayDelete) return Take::Undeletable;
  BeforeDelete();
  FILE_DISPOSITION_INFO disposition{TRUE};
  return SetFileInformationByHandle(file.get(), FileDispositionInfo, &disposition, sizeof disposition)
             ? Take::Deleted
             : Take::Undeletable;
}

MarkerFileSystem& RealFileSystem() {
  static Win32MarkerFileSystem fs;
  return fs;
}

std::wstring ResolveMarkerPath(const std::wstring& path, const std::wstring& startFolder) {
  const auto drive = [](const std::wstring& p) { return p.size() >= 2 && std::iswalpha(p[0]) && p[1] == L':'; };
  if (path.empty() || startFolder.empty()) return path;
  if (path.rfind(L"\\\\", 0) == 0) return path;  // a share, or \\?\...
  if (drive(path)) return path;  // "C:\x" is whole; "C:x" is never the marker
  if (path[0] == L'\\') {
    // The root of the start folder's drive or share.
    size_t root = 2;
    if (startFolder.rfind(L"\\\\", 0) == 0) {
      root = startFolder.find(L'\\', startFolder.find(L'\\', 2) + 1);
      if (root == std::wstring::npos) root = startFolder.size();
    }
    return startFolder.substr(0, root) + path;
  }
  return startFolder + (startFolder.back() == L'\\' ? L"" : L"\\") + path;
}

bool MarkerWatch::Found(const std::wstring& path, Take result) {
  switch (result) {
    case Take::Deleted:
      undeletable_.clear();
      return true;
    case Take::Undeletable:
      if (path == undeletable_) return false;
      undeletable_ = path;
      return true;
    case Take::NotFound:
      break;
  }
  if (path == undeletable_) undeletable_.clear();
  return false;
}

struct MarkerCheck::Lookup {
  Lookup(MarkerFileSystem& fileSystem, std::wstring lookFor, std::wstring named)
      : fs(fileSystem), path(std::move(lookFor)), name(std::move(named)) {}
  MarkerFileSystem& fs;
  std::wstring path, name;
  Take result = Take::NotFound;
  std::atomic<bool> done{false};
};

namespace {

DWORD WINAPI RunLookup(void* param) {
  const std::unique_ptr<std::shared_ptr<MarkerCheck::Lookup>> share(
      static_cast<std::shared_ptr<MarkerCheck::Lookup>*>(param));
  MarkerCheck::Lookup& lookup = **share;
  try {
    lookup.result = lookup.fs.TakeMarker(lookup.path, lookup.name);
  } catch (...) {
    lookup.result = Take::NotFound;
  }
  lookup.done.store(true, std::memory_order_release);
  return 0;
}

}  // namespace

MarkerCheck::MarkerCheck(MarkerFileSystem& fs) : fs_(fs) {}

bool MarkerCheck::CheckMarkerFile(const std::wstring& path, bool start) {
  if (lookup_) {
    // Still looking: no second lookup piles up behind a slow drive.
    if (!lookup_->done.load(std::memory_order_acquire)) return false;
    const std::shared_ptr<Lookup> finished = std::move(lookup_);
    if (watch_.Found(finished->path, finished->result)) return true;
  }
  const std::wstring name = Module1::FileNameOnly(path);
  if (!start || name.empty()) return false;
  auto lookup = std::make_shared<Lookup>(fs_, path, name);
  // The thread owns its share of the lookup: it may outlive this check if a
  // drive holds it up until Postlark ends.
  auto* share = new std::shared_ptr<Lookup>(lookup);
  const base::UniqueHandle thread(CreateThread(nullptr, 0, RunLookup, share, 0, nullptr));
  if (!thread) {
    delete share;
    return false;  // no thread to be had: try again at the next tick
  }
  lookup_ = std::move(lookup);
  return false;
}

}  // namespace watch

namespace Module1 {

std::wstring FileNameOnly(const std::wstring& path) {
  const size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace Module1
