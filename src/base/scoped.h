#pragma once
// Owners for the handles and COM references Postlark opens: each is closed
// exactly once, on every path out, by the owner going out of scope.
#include <windows.h>
#include <unknwn.h>

#include <utility>

namespace base {

template <class Traits>
class Scoped {
 public:
  using Type = typename Traits::Type;

  Scoped() = default;
  explicit Scoped(Type value) : value_(value) {}
  ~Scoped() { Reset(); }
  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;
  Scoped(Scoped&& other) noexcept : value_(other.Release()) {}
  Scoped& operator=(Scoped&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  Type get() const { return value_; }
  explicit operator bool() const { return Traits::Valid(value_); }
  void Reset(Type value = Traits::Invalid()) {
    if (Traits::Valid(value_)) Traits::Close(value_);
    value_ = value;
  }
  Type Release() { return std::exchange(value_, Traits::Invalid()); }
  // For out-parameters: closes what was held first.
  Type* Out() {
    Reset();
    return &value_;
  }

 private:
  Type value_ = Traits::Invalid();
};

// Kernel handles: CreateFile fails with INVALID_HANDLE_VALUE, most others with
// null; both count as nothing held.
struct KernelHandleTraits {
  using Type = HANDLE;
  static Type Invalid() { return nullptr; }
  static bool Valid(Type h) { return h && h != INVALID_HANDLE_VALUE; }
  static void Close(Type h) { CloseHandle(h); }
};
using UniqueHandle = Scoped<KernelHandleTraits>;

struct FindHandleTraits {
  using Type = HANDLE;
  static Type Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Valid(Type h) { return h && h != INVALID_HANDLE_VALUE; }
  static void Close(Type h) { FindClose(h); }
};
using FindHandle = Scoped<FindHandleTraits>;

struct RegKeyTraits {
  using Type = HKEY;
  static Type Invalid() { return nullptr; }
  static bool Valid(Type h) { return h != nullptr; }
  static void Close(Type h) { RegCloseKey(h); }
};
using RegKey = Scoped<RegKeyTraits>;

struct MenuTraits {
  using Type = HMENU;
  static Type Invalid() { return nullptr; }
  static bool Valid(Type h) { return h != nullptr; }
  static void Close(Type h) { DestroyMenu(h); }
};
using Menu = Scoped<MenuTraits>;

// Fonts, pens, bitmaps: anything DeleteObject frees.
template <class H>
struct GdiObjectTraits {
  using Type = H;
  static Type Invalid() { return nullptr; }
  static bool Valid(Type h) { return h != nullptr; }
  static void Close(Type h) { DeleteObject(h); }
};
template <class H>
using GdiObject = Scoped<GdiObjectTraits<H>>;

struct MemoryDcTraits {
  using Type = HDC;
  static Type Invalid() { return nullptr; }
  static bool Valid(Type h) { return h != nullptr; }
  static void Close(Type h) { DeleteDC(h); }
};
using MemoryDc = Scoped<MemoryDcTraits>;

// A window's (or, with null, the screen's) device context.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// An object selected into a DC for the owner's lifetime.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~Selection() { SelectObject(dc_, old_); }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// One COM reference, released when the owner goes. mingw has no CComPtr.
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

// The system's own lock, for std::lock_guard: std::mutex would bring the C++
// library's error machinery, a third of the exe, into a small tray program.
struct Lock {
  SRWLOCK srw = SRWLOCK_INIT;
  void lock() { AcquireSRWLockExclusive(&srw); }
  void unlock() { ReleaseSRWLockExclusive(&srw); }
};

}  // namespace base
