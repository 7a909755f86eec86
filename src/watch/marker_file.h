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

#include "base/background.h"
#include "base/mailbox.h"
#include "watch/mail_source.h"

namespace watch {

// Undeletable: for good (read-only, no permission). InUse: its writer still
// holds it; looked for again at the next tick. Unreachable: its folder is
// not there (a drive that is gone, a path with a typing error).
enum class Take { NotFound, Deleted, Undeletable, InUse, Unreachable };

// Marker files are empty or a few bytes: a larger file is never the marker.
inline constexpr long long kLargestMarker = 64 * 1024;

class MarkerFileSystem {
 public:
  virtual ~MarkerFileSystem() = default;
  // Opens path once, without following a link; when it is a plain file of
  // at most kLargestMarker bytes whose stored name is exactly `name`,
  // deletes it through that same handle. A path that names a device is
  // never opened.
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

// The marker file as a mail source. Look-ups run in the background, the
// newest winning: a path that changes while a look-up hangs on a drive that
// is gone starts a second one. A look-up still under way for the same path
// means no new one, so none pile up behind a slow drive. A marker deleted is
// always mail, whatever the user changed meanwhile.
class MarkerSource final : public MailSource {
 public:
  // on: the user watches the marker; path: the path to look at now; now:
  // milliseconds, to tell a look-up that hangs.
  MarkerSource(std::shared_ptr<MarkerFileSystem> fs, base::Mailbox& mailbox, std::function<bool()> on,
               std::function<std::wstring()> path, std::function<ULONGLONG()> now);
  MarkerSource(const MarkerSource&) = delete;
  MarkerSource& operator=(const MarkerSource&) = delete;

  const wchar_t* Name() const override { return L"marker file"; }
  bool On() const override { return on_(); }
  void Look() override;
  // Not watched this tick: a look-up under way no longer counts unless it
  // deletes its file.
  void Rest() override { lookups_.Forget(); }
  // Not hearing: the folder is not there, or a look-up has hung for 30 s.
  SourceState State() const override;

 private:
  void Answered(const std::wstring& path, Take result, bool newest);

  std::shared_ptr<MarkerFileSystem> fs_;
  std::function<bool()> on_;
  std::function<std::wstring()> path_;
  std::function<ULONGLONG()> now_;
  base::Mailbox::Listening listening_;
  base::Lookups lookups_;
  std::wstring asked_;  // the newest look-up's path
  ULONGLONG askedAt_ = 0;
  bool unreachable_ = false;  // the last answer said so
  MarkerWatch watch_;
};

}  // namespace watch
