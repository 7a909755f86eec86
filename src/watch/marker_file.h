#pragma once
// The second way of noticing mail: a mail rule drops a marker file at a path
// the user chose, and Postlark deletes it when it appears. Deleting is the one
// destructive thing Postlark does, so a file counts only when its name, as the
// file system stores it, is exactly the path's final component, and only
// plain files (not folders, links, hidden or system files, nor devices)
// count. The file is checked and deleted through one handle, so a file
// swapped in between is never the one deleted. Lookups run off the
// user-interface thread: a network drive that is gone or a disk that sleeps
// holds up a lookup, never the window.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "base/worker.h"

namespace watch {

// Undeletable: for good (read-only, no permission). InUse: its writer still
// holds it; looked for again at the next tick.
enum class Take { NotFound, Deleted, Undeletable, InUse };

// Marker files are empty or a few bytes: a larger file is never the marker.
inline constexpr long long kLargestMarker = 64 * 1024;

class MarkerFileSystem {
 public:
  virtual ~MarkerFileSystem() = default;
  // Opens path once, without following a link; when it is a plain file of
  // at most kLargestMarker bytes whose stored name is exactly `name`,
  // deletes it through that same handle.
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

std::shared_ptr<MarkerFileSystem> RealFileSystem();

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

// The check cycle's marker check. Lookups run on workers it owns, one at a
// time each, and their results come back through `wake` (which posts to the
// window) and Collect. While a lookup hangs on a drive that is gone, a new
// path, or the marker watched again after a pause, starts a new lookup on a
// second worker; the old one's result then counts only if it deleted its
// file. At most two lookups are ever in flight.
class MarkerCheck {
 public:
  MarkerCheck(std::shared_ptr<MarkerFileSystem> fs, std::function<void()> wake);
  ~MarkerCheck();
  MarkerCheck(const MarkerCheck&) = delete;
  MarkerCheck& operator=(const MarkerCheck&) = delete;

  // One tick: looks for the marker at path, unless a lookup of it is under way.
  void Look(const std::wstring& path);
  // The marker is not watched this tick: a lookup under way no longer counts
  // unless it deletes its file.
  void Forget();
  // After a wake: true when a lookup that has finished found mail.
  bool Collect();

 private:
  void Finished(unsigned serial, const std::wstring& path, Take result);

  std::shared_ptr<MarkerFileSystem> fs_;
  std::function<void()> wake_;
  std::unique_ptr<base::Worker> workers_[2];
  unsigned serial_ = 0;
  unsigned current_ = 0;  // the lookup whose result counts in full; 0: none
  std::wstring currentPath_;
  bool found_ = false;
  MarkerWatch watch_;
};

}  // namespace watch

namespace Module1 {
// Text after the last backslash; only the backslash separates.
std::wstring FileNameOnly(const std::wstring& path);
}  // namespace Module1
