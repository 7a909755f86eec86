#include "watch/marker_file.h"

#include <utility>
#include <vector>

#include "base/path.h"
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
    if (n < buffer.size()) return base::FinalComponent(std::wstring(buffer.data(), n));
    buffer.resize(n + 1);
  }
  return {};
}

bool IsMarker(HANDLE file, const std::wstring& name) {
  BY_HANDLE_FILE_INFORMATION info;
  return GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info) &&
         !(info.dwFileAttributes & kNotPlain) && info.nFileSizeHigh == 0 &&
         info.nFileSizeLow <= kLargestMarker && StoredName(file) == name;
}

// The folder, its drive or its share is not there: no marker can come.
bool IsUnreachable(DWORD error) {
  switch (error) {
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_NOT_READY:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_NETNAME_DELETED:
    case ERROR_NETWORK_UNREACHABLE:
    case ERROR_HOST_UNREACHABLE:
    case ERROR_REM_NOT_LIST:
    case ERROR_UNEXP_NET_ERR:
      return true;
  }
  return false;
}

// Why a file cannot be deleted: for good, or only while its writer holds it.
Take Refused(DWORD error) { return error == ERROR_SHARING_VIOLATION ? Take::InUse : Take::Undeletable; }

}  // namespace

Take Win32MarkerFileSystem::TakeMarker(const std::wstring& path, const std::wstring& name) {
  if (name.empty() || path.find(L'\0') != std::wstring::npos || base::NamesDevice(path)) return Take::NotFound;
  base::UniqueHandle file(Open(path, DELETE));
  DWORD refusal = 0;
  if (!file) {
    // In use without delete sharing, or no right to delete: look, only look.
    refusal = GetLastError();
    if (IsUnreachable(refusal)) return Take::Unreachable;
    if (refusal != ERROR_SHARING_VIOLATION && refusal != ERROR_ACCESS_DENIED) return Take::NotFound;
    file.Reset(Open(path, 0));
    if (!file) return Take::NotFound;
  }
  if (!IsMarker(file.get(), name)) return Take::NotFound;
  if (refusal) return Refused(refusal);
  BeforeDelete();
  FILE_DISPOSITION_INFO disposition{TRUE};
  if (SetFileInformationByHandle(file.get(), FileDispositionInfo, &disposition, sizeof disposition))
    return Take::Deleted;
  return Refused(GetLastError());
}

std::shared_ptr<MarkerFileSystem> RealFileSystem() { return std::make_shared<Win32MarkerFileSystem>(); }

bool MarkerWatch::Found(const std::wstring& path, Take result) {
  switch (result) {
    case Take::Deleted:
      undeletable_.clear();
      return true;
    case Take::Undeletable:
      if (path == undeletable_) return false;
      undeletable_ = path;
      return true;
    case Take::InUse:
      return false;  // not yet: its writer still holds it
    case Take::NotFound:
    case Take::Unreachable:
      break;
  }
  if (path == undeletable_) undeletable_.clear();
  return false;
}

MarkerSource::MarkerSource(std::shared_ptr<MarkerFileSystem> fs, base::Mailbox& mailbox, std::function<bool()> on,
                           std::function<std::wstring()> path, std::function<ULONGLONG()> now)
    : fs_(std::move(fs)),
      on_(std::move(on)),
      path_(std::move(path)),
      now_(std::move(now)),
      listening_(mailbox.Listen([this] { lookups_.Deliver(); })),
      lookups_(listening_.wake()) {}

void MarkerSource::Look() {
  lookups_.Deliver();  // an answer whose wake could not be posted
  const std::wstring path = path_();
  if (lookups_.Pending() && path == asked_) return;
  const std::wstring name = base::FinalComponent(path);
  if (name.empty()) {
    unreachable_ = false;
    return lookups_.Forget();
  }
  asked_ = path;
  askedAt_ = now_();
  // The job holds its own share of the file system and its result.
  auto result = std::make_shared<Take>(Take::NotFound);
  lookups_.Ask([fs = fs_, path, name, result] { *result = fs->TakeMarker(path, name); },
               [this, path, result](bool newest) { Answered(path, *result, newest); });
}

void MarkerSource::Answered(const std::wstring& path, Take result, bool newest) {
  if (newest) unreachable_ = result == Take::Unreachable;
  if (newest ? watch_.Found(path, result) : result == Take::Deleted) Found();
}

SourceState MarkerSource::State() const {
  constexpr ULONGLONG kHungMs = 30000;
  if (!On()) return {false};
  if (unreachable_ || (lookups_.Pending() && now_() - askedAt_ > kHungMs)) return {true, Deafness::Unreachable};
  return {true};
}

}  // namespace watch
