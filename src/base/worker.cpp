#include "base/worker.h"

#include <windows.h>

#include <deque>
#include <mutex>
#include <utility>

#include "base/scoped.h"

namespace base {
namespace {

using Hold = std::lock_guard<Lock>;

}  // namespace

struct Worker::Shared {
  struct Job {
    std::function<void()> run, done;
  };
  Lock lock;
  std::deque<Job> jobs;                       // waiting
  std::deque<std::function<void()>> results;  // dones of finished jobs
  bool running = false;  // a job is under way
  bool stop = false;
  std::function<void()> wake;
  UniqueHandle work{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
  UniqueHandle thread;
};

namespace {

DWORD WINAPI Run(void* param) {
  // The thread's own share: the state outlives the owner while a job hangs.
  const std::unique_ptr<std::shared_ptr<Worker::Shared>> share(
      static_cast<std::shared_ptr<Worker::Shared>*>(param));
  Worker::Shared& s = **share;
  for (;;) {
    Worker::Shared::Job job;
    {
      Hold hold(s.lock);
      if (s.stop) return 0;
      if (s.jobs.empty()) {
        job.run = nullptr;
      } else {
        job = std::move(s.jobs.front());
        s.jobs.pop_front();
        s.running = true;
      }
    }
    if (!job.run) {
      WaitForSingleObject(s.work.get(), INFINITE);
      continue;
    }
    try {
      job.run();
    } catch (...) {
    }
    Hold hold(s.lock);
    s.running = false;
    if (s.stop) return 0;
    s.results.push_back(std::move(job.done));
    if (s.wake) s.wake();
  }
}

}  // namespace

Worker::Worker(std::function<void()> wake) : shared_(std::make_shared<Shared>()) {
  shared_->wake = std::move(wake);
}

Worker::~Worker() {
  bool idle;
  {
    Hold hold(shared_->lock);
    shared_->stop = true;
    shared_->wake = nullptr;
    shared_->jobs.clear();
    idle = !shared_->running;
  }
  SetEvent(shared_->work.get());
  // An idle thread ends at once; one inside a job is left to finish alone.
  if (idle && shared_->thread) WaitForSingleObject(shared_->thread.get(), 5000);
}

void Worker::Post(std::function<void()> job, std::function<void()> done) {
  Hold hold(shared_->lock);
  if (!shared_->thread) {
    auto* share = new std::shared_ptr<Shared>(shared_);
    shared_->thread.Reset(CreateThread(nullptr, 0, Run, share, 0, nullptr));
    if (!shared_->thread) {
      delete share;
      return;  // no thread to be had: the job is dropped, as if never asked
    }
  }
  shared_->jobs.push_back({std::move(job), std::move(done)});
  SetEvent(shared_->work.get());
}

bool Worker::Busy() const {
  Hold hold(shared_->lock);
  return shared_->running || !shared_->jobs.empty();
}

void Worker::Deliver() {
  for (;;) {
    std::function<void()> done;
    {
      Hold hold(shared_->lock);
      if (shared_->results.empty()) return;
      done = std::move(shared_->results.front());
      shared_->results.pop_front();
    }
    if (done) done();
  }
}

}  // namespace base
