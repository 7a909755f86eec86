#include "base/background.h"

#include <windows.h>

#include <algorithm>
#include <mutex>
#include <new>
#include <utility>

#include "base/scoped.h"

namespace base {
namespace {

void CALLBACK RunJob(PTP_CALLBACK_INSTANCE, void* context) {
  const std::unique_ptr<std::function<void()>> job(static_cast<std::function<void()>*>(context));
  (*job)();
}

}  // namespace

bool RunInBackground(std::function<void()> job) {
  auto* context = new (std::nothrow) std::function<void()>(std::move(job));
  if (!context) return false;
  // A job may hang on a drive for minutes: the pool is told, so that it
  // keeps threads for the rest.
  TP_CALLBACK_ENVIRON environment;
  InitializeThreadpoolEnvironment(&environment);
  SetThreadpoolCallbackRunsLong(&environment);
  if (TrySubmitThreadpoolCallback(RunJob, context, &environment)) return true;
  delete context;
  return false;
}

struct Lookups::Shared {
  Lock lock;
  std::vector<unsigned> answered;
  Wake wake;  // none once the owner has gone
};

Lookups::Lookups(Wake wake) : shared_(std::make_shared<Shared>()) { shared_->wake = std::move(wake); }

Lookups::~Lookups() {
  std::lock_guard<Lock> hold(shared_->lock);
  shared_->wake = nullptr;
}

bool Lookups::Ask(std::function<void()> job, std::function<void(bool)> done) {
  Asked asked{++serial_, std::move(job), std::move(done)};
  newest_ = asked.serial;
  if (running_.size() >= 2) {
    waiting_ = std::move(asked);
    return true;
  }
  if (Launch(std::move(asked))) return true;
  newest_ = 0;
  return false;
}

bool Lookups::Launch(Asked asked) {
  const bool started = RunInBackground([shared = shared_, serial = asked.serial, job = std::move(asked.job)] {
    job();
    Wake wake;
    {
      std::lock_guard<Lock> hold(shared->lock);
      shared->answered.push_back(serial);
      wake = shared->wake;
    }
    if (wake) wake();
  });
  if (started) running_.push_back({asked.serial, nullptr, std::move(asked.done)});
  return started;
}

void Lookups::Forget() {
  newest_ = 0;
  waiting_.reset();
}

void Lookups::Deliver() {
  std::vector<unsigned> answered;
  {
    std::lock_guard<Lock> hold(shared_->lock);
    answered.swap(shared_->answered);
  }
  for (const unsigned serial : answered) {
    const auto it = std::find_if(running_.begin(), running_.end(), [&](const Asked& a) { return a.serial == serial; });
    if (it == running_.end()) continue;
    const std::function<void(bool)> done = std::move(it->done);
    running_.erase(it);
    const bool newest = serial == newest_;
    if (newest) newest_ = 0;
    if (done) done(newest);
  }
  if (waiting_ && running_.size() < 2) {
    Asked next = std::move(*waiting_);
    waiting_.reset();
    const unsigned serial = next.serial;
    // No thread now: the owner asks again at its next look.
    if (!Launch(std::move(next)) && newest_ == serial) newest_ = 0;
  }
}

}  // namespace base
