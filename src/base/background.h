#pragma once
// Work that must never hold up the window's thread (a drive that takes
// seconds, a file on a share that is gone) runs on the system's thread pool.
// What a job touches it holds itself, so nobody ever waits for a job that
// hangs: its owner may go, and the job ends on its own, or with the process.
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "base/mailbox.h"

namespace base {

// Queues job on the thread pool; false when the system could not take it.
bool RunInBackground(std::function<void()> job);

// Look-ups in the background for one owner, whose answers come back to the
// owner's thread. At most two are in flight: one that hangs (on a share that
// is gone) holds up the next only until the second looks. The newest asked
// for wins: an older one's answer is told it was overtaken. With two in
// flight, the newest waits and starts when one of them ends.
class Lookups {
 public:
  // wake: tells the owner that answers are waiting, from a pool thread.
  explicit Lookups(Wake wake);
  ~Lookups();
  Lookups(const Lookups&) = delete;
  Lookups& operator=(const Lookups&) = delete;

  // Asks for a look-up: `job` runs in the background, then `done(newest)`
  // on the owner's thread in Deliver. False when it could not start (no
  // thread to be had): nothing was asked, and the owner asks again later.
  bool Ask(std::function<void()> job, std::function<void(bool newest)> done);
  // The newest look-up no longer counts as the newest; one waiting goes.
  void Forget();
  // The newest asked for has not answered yet.
  bool Pending() const { return newest_ != 0; }
  // Runs the done of every answer that has come, then starts one waiting.
  // After a wake, and whenever the owner looks anyway: a wake that could not
  // be posted loses no answer.
  void Deliver();

  struct Shared;

 private:
  struct Asked {
    unsigned serial;
    std::function<void()> job;
    std::function<void(bool)> done;
  };
  bool Launch(Asked asked);

  std::shared_ptr<Shared> shared_;
  std::vector<Asked> running_;  // their jobs are the pool's now
  std::optional<Asked> waiting_;
  unsigned serial_ = 0;
  unsigned newest_ = 0;  // 0: none pending
};

}  // namespace base
