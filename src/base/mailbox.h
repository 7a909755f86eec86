#pragma once
// Bringing background results back to the window's thread. A part that
// starts work elsewhere listens at the mailbox: its wake, callable from any
// thread, posts to the window, and the part's own handler then runs there.
#include <functional>
#include <utility>

namespace base {

// Posts to the window's thread; false when the post failed (the window is
// gone, or its queue is full), so the caller knows to look again later.
using Wake = std::function<bool()>;

class Mailbox {
 public:
  // A listener's place at the mailbox, held by the listener: once it goes,
  // wakes still on their way run nothing.
  class Listening {
   public:
    Listening() = default;
    Listening(Mailbox* box, int slot, Wake wake) : box_(box), slot_(slot), wake_(std::move(wake)) {}
    ~Listening() {
      if (box_) box_->Forget(slot_);
    }
    Listening(Listening&& other) noexcept
        : box_(std::exchange(other.box_, nullptr)), slot_(other.slot_), wake_(std::move(other.wake_)) {}
    Listening& operator=(Listening&&) = delete;
    const Wake& wake() const { return wake_; }

   private:
    Mailbox* box_ = nullptr;
    int slot_ = 0;
    Wake wake_;
  };

  virtual ~Mailbox() = default;
  // onWake runs on the window's thread after a wake (several wakes may run
  // it once).
  virtual Listening Listen(std::function<void()> onWake) = 0;

 protected:
  virtual void Forget(int slot) = 0;
};

}  // namespace base
