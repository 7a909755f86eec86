#pragma once
// The second way of noticing mail: a mail rule drops a marker file at a path
// the user chose, and Postlark deletes it when it appears. Deleting is the one
// destructive thing Postlark does, so a file counts only when its name, as the
// file system stores it, is exactly the path's final component, and only
// plain files (not folders, hidden or system files, nor devices) count.
#include <string>

namespace watch {

class MarkerFileSystem {
 public:
  virtual ~MarkerFileSystem() = default;
  // Name (without folder) of the first plain file matching path, in the
  // case the file system stores it; empty when none, or when the lookup fails.
  virtual std::wstring FindFirstNormalFile(const std::wstring& path) = 0;
  virtual bool RemoveFile(const std::wstring& path) = 0;
};

MarkerFileSystem& RealFileSystem();

class MarkerWatch {
 public:
  explicit MarkerWatch(MarkerFileSystem& fs = RealFileSystem()) : fs_(fs) {}

  // True when the marker was found: deleted, or (once) found undeletable.
  bool CheckMarkerFile(const std::wstring& path);

 private:
  MarkerFileSystem& fs_;
  // A marker that could not be deleted alerts once, then not again until it
  // has been seen gone.
  std::wstring undeletable_;
};

}  // namespace watch

namespace Module1 {
// Text after the last backslash; only the backslash separates.
std::wstring FileNameOnly(const std::wstring& path);
}  // namespace Module1
