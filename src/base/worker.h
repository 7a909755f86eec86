#pragma once
// Background work with an owner: one thread that runs its owner's jobs one
// at a time, in order. A job runs on the thread; its `done` runs later on
// the owner's thread, inside Deliver(), which the owner calls once `wake`
// (called from the thread, so it must only post) says results are waiting.
// The thread shares what it touches with the owner: a job holds its own
// data, and the owner never waits for a job that hangs (on a drive that is
// gone, say). When the owner goes, an idle thread ends; one stuck in a job
// ends after it, or with the process, and wakes nobody.
#include <functional>
#include <memory>

namespace base {

class Worker {
 public:
  explicit Worker(std::function<void()> wake);
  ~Worker();
  Worker(const Worker&) = delete;
  Worker& operator=(const Worker&) = delete;

  // Queues a job; the thread starts with the first one.
  void Post(std::function<void()> job, std::function<void()> done = {});
  // A job is queued or running (finished ones may still wait for Deliver).
  bool Busy() const;
  // Runs the `done` of every finished job, in order.
  void Deliver();

  struct Shared;

 private:
  std::shared_ptr<Shared> shared_;
};

}  // namespace base
