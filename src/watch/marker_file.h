#pragma once
// The second way of noticing mail: a mail rule drops a marker file at a path
// the user chose, and Postlark deletes it when it appears. Deleting is the one
// destructive thing Postlark does, so a file counts only when its name, as the
// file system stores it, is exactly the path's final component, and only
// plain files (not folders, links, hidden or system files, nor devices)
// count. The file is checked and deleted through one handle, so a file
// swapped in between is never the one deleted. The lookup runs off the
// user-interface thread: a network drive that is gone or a disk that sleeps
// holds up the lookup, never the window.
#include <windows.h>

#include <memory>
#include <string>

namespace watch {

enum class Take { NotFound, Deleted, Undeletable };

class MarkerFileSystem {
 public:
  virtual ~MarkerFileSystem() = default;
  // Opens path once, without following a link; when it is a plain file whose
  // stored name is exactly `name`, deletes it through that same handle.
  // Called off the user-interface thread, one call at a time.
  virtual Take TakeMarker(const std::wstring& path, const std::wstring& name) = 0;
};

class Win32MarkerFileSystem : public MarkerFileSystem {
 public:
  Take TakeMarker(const std::wstring& path, const std::wstring& name) override;

 protected:
  // Between the check and the delete; a test stages a swap here.
  virtual void BeforeDelete() {}
};

MarkerFileSystem& RealFileSystem();

// A relative marker path names a file in the folder Postlark started in,
// wherever the process's current folder has moved since.
std::wstring ResolveMarkerPath(const std::wstring& path, const std::wstring& startFolder);

// What a finished lookup means for mail.
class MarkerWatch {
 public:
  // True when the marker was found: deleted, or (once) found undeletable.
  bool Found(const std::wstring& path, Take result);

 private:
  // A marker that could not be deleted alerts once, then not again until it
  // has been seen gone.
  std::wstring undeletable_;
};

// The check cycle's marker check: one lookup at a time, on a thread of its
// own, its result acted on at the next tick.
class MarkerCheck {
 public:
  explicit MarkerCheck(MarkerFileSystem& fs = RealFileSystem());
  MarkerCheck(const MarkerCheck&) = delete;
  MarkerCheck& operator=(const MarkerCheck&) = delete;

  // One tick. True when the lookup started at an earlier tick has finished
  // and found the marker. Otherwise, unless a lookup is still under way or
  // start is false, a lookup of path begins.
  bool CheckMarkerFile(const std::wstring& path, bool start = true);

  struct Lookup;  // one lookup, shared with the thread that makes it

 private:
  MarkerFileSystem& fs_;
  std::shared_ptr<Lookup> lookup_;
  MarkerWatch watch_;
};

}  // namespace watch

namespace Module1 {
// Text after the last backslash; only the backslash separates.
std::wstring FileNameOnly(const std::wstring& path);
}  // namespace Module1
