#pragma once
// Owners of COM references for the clip player: mingw has no CComPtr.
#include <unknwn.h>

#include <utility>

// Owns one COM reference, released when the owner goes.
template <class T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() { Reset(); }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ComRef(ComRef&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComRef& operator=(ComRef&& other) noexcept {
    if (this != &other) {
      Reset();
      p_ = std::exchange(other.p_, nullptr);
    }
    return *this;
  }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  void Reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }
  // For out-parameters: drops the old reference first.
  void** Out() {
    Reset();
    return reinterpret_cast<void**>(&p_);
  }
  T** OutTyped() {
    Reset();
    return &p_;
  }
  // A second owner of the same object.
  ComRef Copy() const {
    ComRef r;
    if (p_) {
      p_->AddRef();
      r.p_ = p_;
    }
    return r;
  }

 private:
  T* p_ = nullptr;
};

template <class T>
HRESULT Query(IUnknown* from, REFIID iid, ComRef<T>& to) {
  return from ? from->QueryInterface(iid, to.Out()) : E_POINTER;
}

