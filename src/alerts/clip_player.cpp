#include "alerts/clip_player.h"

#include <dshow.h>

#include <vector>

#include "base/once.h"
#include "base/path.h"
#include "base/scoped.h"
#include "base/system_dll.h"
#include "ui/twips.h"
#include "ui/window.h"

namespace alerts {
namespace {

using base::ComRef;
using base::Query;

constexpr wchar_t kClassName[] = L"PostlarkClipPlayer";

// The platform's identifiers for the DirectShow classes and interfaces the
// player uses. Written out here: the library that holds them all would add
// some 20 KB to the exe for these nine.
constexpr GUID kFilterGraph{0xe436ebb3, 0x524f, 0x11ce, {0x9f, 0x53, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70}};
constexpr GUID kVideoRenderer{0x70e102b0, 0x5556, 0x11ce, {0x97, 0xc0, 0x00, 0xaa, 0x00, 0x55, 0x59, 0x5a}};
constexpr GUID kGraphBuilder{0x56a868a9, 0x0ad4, 0x11ce, {0xb0, 0x3a, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70}};
constexpr GUID kBaseFilter{0x56a86895, 0x0ad4, 0x11ce, {0xb0, 0x3a, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70}};
constexpr GUID kMediaControl{0x56a868b1, 0x0ad4, 0x11ce, {0xb0, 0x3a, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70}};
constexpr GUID kMediaEventEx{0x56a868c0, 0x0ad4, 0x11ce, {0xb0, 0x3a, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70}};
constexpr GUID kMediaSeeking{0x36b73880, 0xc2c8, 0x11cf, {0x8b, 0x46, 0x00, 0x80, 0x5f, 0x6c, 0xef, 0x60}};
constexpr GUID kVideoWindow{0x56a868b4, 0x0ad4, 0x11ce, {0xb0, 0x3a, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70}};
constexpr GUID kBasicVideo{0x56a868b5, 0x0ad4, 0x11ce, {0xb0, 0x3a, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70}};
// The graph tells the player's own window about its events with this message.
constexpr UINT kGraphEvent = WM_APP + 0x3A1;

// Everything one opened clip needs; released together when the clip goes.
struct Graph {
  ComRef<IGraphBuilder> builder;
  ComRef<IBaseFilter> renderer;
  ComRef<IMediaControl> control;
  ComRef<IMediaEventEx> events;
  ComRef<IMediaSeeking> seeking;
  ComRef<IVideoWindow> video;
  long naturalWidth = 0;
  long naturalHeight = 0;
};

// COM comes from ole32, loaded when the first player is made: after the
// window and its icon are up, so that start-up does not wait for it.
struct Ole32 {
  using InitializeFn = HRESULT(WINAPI*)(LPVOID, DWORD);
  using UninitializeFn = void(WINAPI*)();
  using CreateInstanceFn = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);

  Ole32()
      : initialize(base::SystemProc<InitializeFn>(L"ole32.dll", "CoInitializeEx")),
        uninitialize(base::SystemProc<UninitializeFn>(L"ole32.dll", "CoUninitialize")),
        createInstance(base::SystemProc<CreateInstanceFn>(L"ole32.dll", "CoCreateInstance")) {}
  HRESULT Initialize(DWORD model = COINIT_APARTMENTTHREADED) const {
    return initialize ? initialize(nullptr, model) : E_NOTIMPL;
  }
  void Uninitialize() const {
    if (uninitialize) uninitialize();
  }
  HRESULT CreateInstance(REFCLSID cls, REFIID iid, void** out) const {
    return createInstance ? createInstance(cls, nullptr, CLSCTX_INPROC_SERVER, iid, out) : E_NOTIMPL;
  }

  InitializeFn initialize = nullptr;
  UninitializeFn uninitialize = nullptr;
  CreateInstanceFn createInstance = nullptr;
};

// Reached first on the window's thread, and from the pool's after.
const Ole32& Com() { return base::Once<Ole32>(); }

bool RendererConnected(IBaseFilter* renderer) {
  ComRef<IEnumPins> pins;
  if (FAILED(renderer->EnumPins(pins.OutTyped()))) return false;
  ComRef<IPin> pin;
  while (pins->Next(1, pin.OutTyped(), nullptr) == S_OK) {
    ComRef<IPin> peer;
    if (SUCCEEDED(pin->ConnectedTo(peer.OutTyped())) && peer) return true;
  }
  return false;
}

}  // namespace

HRESULT CheckIsDiskFile(const std::wstring& path) {
  if (path.empty()) return E_INVALIDARG;
  if (base::NamesDevice(path)) return HRESULT_FROM_WIN32(ERROR_BAD_FILE_TYPE);
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return HRESULT_FROM_WIN32(ERROR_DIRECTORY);
  const base::UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD error = GetLastError();
    return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
  }
  return GetFileType(file.get()) == FILE_TYPE_DISK ? S_OK : HRESULT_FROM_WIN32(ERROR_BAD_FILE_TYPE);
}

namespace {

std::wstring FullPath(const std::wstring& path) {
  const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return path;
  std::wstring full(needed, L'\0');
  const DWORD written = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  if (written == 0 || written >= needed) return path;
  full.resize(written);
  return full;
}

}  // namespace

struct ClipLoading {
  std::wstring path;
  Graph graph;
  HRESULT result = E_PENDING;
};

std::shared_ptr<ClipLoading> ClipPlayer::Prepare(const std::wstring& path) {
  auto loading = std::make_shared<ClipLoading>();
  loading->path = path;
  Graph& next = loading->graph;
  HRESULT hr = Com().CreateInstance(kFilterGraph, kGraphBuilder, next.builder.Out());
  // The GDI renderer draws everywhere; the default one draws nothing on some
  // displays. Placed in the graph first, it is the one the video goes to.
  if (SUCCEEDED(hr)) hr = Com().CreateInstance(kVideoRenderer, kBaseFilter, next.renderer.Out());
  if (SUCCEEDED(hr)) hr = next.builder->AddFilter(next.renderer.get(), L"Video Renderer");
  if (FAILED(hr)) loading->result = hr;
  return loading;
}

void ClipPlayer::Load(ClipLoading& loading, const std::function<HRESULT(const std::wstring&)>& check) {
  if (loading.result != E_PENDING) return;
  Graph& next = loading.graph;
  // The filters the file calls for are made on this thread, in the
  // multithreaded apartment; the graph itself is free-threaded.
  const HRESULT com = Com().Initialize(COINIT_MULTITHREADED);
  HRESULT hr = check(loading.path);
  if (SUCCEEDED(hr)) hr = next.builder->RenderFile(FullPath(loading.path).c_str(), nullptr);
  // A clip with nothing to show is no clip for this window.
  if (SUCCEEDED(hr) && !RendererConnected(next.renderer.get())) hr = VFW_E_UNSUPPORTED_VIDEO;
  ComRef<IBasicVideo> basic;
  if (SUCCEEDED(hr)) hr = Query(next.builder.get(), kBasicVideo, basic);
  if (SUCCEEDED(hr)) hr = basic->GetVideoSize(&next.naturalWidth, &next.naturalHeight);
  if (SUCCEEDED(hr) && (next.naturalWidth <= 0 || next.naturalHeight <= 0)) hr = VFW_E_UNSUPPORTED_VIDEO;
  if (SUCCEEDED(com)) Com().Uninitialize();
  loading.result = hr;
}

struct ClipPlayer::Impl final : ui::Window {
  ClipPlayer* owner = nullptr;
  HWND parent = nullptr;
  bool comInitialized = false;
  Graph graph;
  bool loaded = false;
  long playCount = 1;
  long playsCompleted = 0;
  bool playing = false;
  float widthTwips = 0;
  float heightTwips = 0;
  UINT dpi = 0;
  // Bumped whenever the clip or its playback is replaced, so graph events
  // still being handled for the old one are dropped.
  unsigned long generation = 0;
  // Lets an event handler notice that the player was destroyed under it.
  std::shared_ptr<bool> alive = std::make_shared<bool>(true);

  ~Impl() override {
    *alive = false;
    ReleaseGraph();
    if (hwnd()) DestroyWindow(hwnd());
    if (comInitialized) Com().Uninitialize();
  }

  UINT Dpi() const { return dpi ? dpi : ui::DpiFor(parent); }

  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    switch (msg) {
      case kGraphEvent:
        OnGraphEvents();
        return 0;
      case WM_SIZE:
        FitVideo();
        break;
      case WM_DESTROY:
        // The video window belongs to this one: the clip cannot outlive it.
        ReleaseGraph();
        break;
    }
    return Window::HandleMessage(msg, wParam, lParam);
  }

  bool Create(HWND parentWindow) {
    if (!comInitialized) {
      const HRESULT hr = Com().Initialize();
      // RPC_E_CHANGED_MODE: the thread already has COM, in a mode we must not undo.
      comInitialized = SUCCEEDED(hr);
    }
    if (hwnd()) {
      ReleaseGraph();
      DestroyWindow(hwnd());
    }
    if (!parentWindow ||
        !RegisterClassOnce(kClassName, nullptr, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))))
      return false;
    parent = parentWindow;
    widthTwips = heightTwips = 0;
    return Window::Create(kClassName, 0, WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, L"", 0, 0, 0,
                          0, parent);
  }

  // Stops the clip and forgets it. Its video window is hidden and goes with
  // the graph, as a child of this one; it is not handed back to the
  // desktop first, which would activate it and take the user's focus.
  void ReleaseGraph() {
    ++generation;
    if (graph.control) graph.control->Stop();
    if (graph.events) graph.events->SetNotifyWindow(0, 0, 0);
    if (graph.video) graph.video->put_Visible(OAFALSE);
    graph = Graph{};
    loaded = false;
    playing = false;
    DropQueuedEvents();
  }

  // Events already queued belong to a play that was just ended or replaced.
  void DropQueuedEvents() {
    if (graph.events) {
      long code = 0;
      LONG_PTR p1 = 0, p2 = 0;
      while (graph.events->GetEvent(&code, &p1, &p2, 0) == S_OK) graph.events->FreeEventParams(code, p1, p2);
    }
    if (hwnd()) {
      MSG m;
      while (PeekMessageW(&m, hwnd(), kGraphEvent, kGraphEvent, PM_REMOVE)) {
      }
    }
  }

  // Takes a loaded clip: the player's now, sized to it.
  HRESULT Take(ClipLoading& loading) {
    ReleaseGraph();
    if (!hwnd()) return E_UNEXPECTED;
    if (FAILED(loading.result)) return loading.result;
    Graph next = std::move(loading.graph);
    HRESULT hr;
    if (FAILED(hr = Query(next.builder.get(), kMediaControl, next.control))) return hr;
    if (FAILED(hr = Query(next.builder.get(), kMediaEventEx, next.events))) return hr;
    if (FAILED(hr = Query(next.builder.get(), kMediaSeeking, next.seeking))) return hr;
    if (FAILED(hr = Query(next.builder.get(), kVideoWindow, next.video))) return hr;

    if (FAILED(hr = next.events->SetNotifyWindow(reinterpret_cast<OAHWND>(hwnd()), kGraphEvent, 0))) return hr;
    next.video->put_AutoShow(OATRUE);
    if (FAILED(hr = next.video->put_Owner(reinterpret_cast<OAHWND>(hwnd())))) {
      next.events->SetNotifyWindow(0, 0, 0);
      return hr;
    }
    next.video->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS);
    next.video->put_MessageDrain(reinterpret_cast<OAHWND>(hwnd()));

    graph = std::move(next);
    loaded = true;
    SizeToClip();
    return S_OK;
  }

  // The picture fills the control above its strip.
  void FitVideo() {
    if (!graph.video || !hwnd()) return;
    RECT client{};
    GetClientRect(hwnd(), &client);
    const int strip = ui::TwipsToPixels(kControlStripTwips, Dpi());
    const long height = client.bottom > strip ? client.bottom - strip : client.bottom;
    graph.video->SetWindowPosition(0, 0, client.right, height);
  }

  void SizeToClip() {
    if (!loaded) return;
    const UINT dpi = Dpi();
    widthTwips = ui::PixelsToTwips(graph.naturalWidth, dpi);
    heightTwips = ui::PixelsToTwips(graph.naturalHeight, dpi) + kControlStripTwips;
    Place();
  }

  void Place() {
    if (!hwnd()) return;
    const UINT dpi = Dpi();
    SetWindowPos(hwnd(), nullptr, 0, 0, ui::TwipsToPixels(widthTwips, dpi), ui::TwipsToPixels(heightTwips, dpi),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    FitVideo();
  }

  HRESULT SeekToStart() {
    LONGLONG zero = 0;
    return graph.seeking->SetPositions(&zero, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
  }

  HRESULT Play() {
    if (!loaded) return VFW_E_NOT_CONNECTED;
    ++generation;
    graph.control->Stop();
    DropQueuedEvents();
    playsCompleted = 0;
    HRESULT hr = SeekToStart();
    if (FAILED(hr)) return hr;
    hr = graph.control->Run();
    if (FAILED(hr)) {
      graph.control->Stop();
      playing = false;
      return hr;
    }
    playing = true;
    return S_OK;
  }

  HRESULT Stop() {
    ++generation;
    playing = false;
    if (!loaded) return S_OK;
    const HRESULT hr = graph.control->Stop();
    SeekToStart();
    DropQueuedEvents();
    return hr;
  }

  // Ends one play: plays again while plays remain, then tells the owner.
  void OnGraphEvents() {
    if (!graph.events) return;
    // Take the whole queue first: the owner's handler may replace the graph.
    std::vector<LONG_PTR> completions;
    {
      ComRef<IMediaEventEx> events = graph.events.Copy();
      long code = 0;
      LONG_PTR p1 = 0, p2 = 0;
      while (events->GetEvent(&code, &p1, &p2, 0) == S_OK) {
        if (code == EC_COMPLETE) completions.push_back(p1);
        events->FreeEventParams(code, p1, p2);
      }
    }
    const std::weak_ptr<bool> stillAlive = alive;
    const unsigned long current = generation;
    for (const LONG_PTR result : completions) {
      if (!playing) return;
      ++playsCompleted;
      if (playsCompleted < playCount) {
        // Wine's graph replays only after a seek back followed by Run.
        SeekToStart();
        if (FAILED(graph.control->Run())) playing = false;
      } else {
        playing = false;
        graph.control->Stop();
        SeekToStart();
      }
      if (owner->EndOfPlay) {
        owner->EndOfPlay(static_cast<long>(result));
        // The handler may have destroyed the player or changed its clip.
        if (stillAlive.expired() || generation != current) return;
      }
    }
  }
};

ClipPlayer::ClipPlayer() : impl_(std::make_unique<Impl>()) { impl_->owner = this; }

ClipPlayer::~ClipPlayer() = default;

bool ClipPlayer::Create(HWND parent) { return impl_->Create(parent); }

HWND ClipPlayer::hwnd() const { return impl_->hwnd(); }

HRESULT ClipPlayer::Take(const std::shared_ptr<ClipLoading>& loading) {
  return loading ? impl_->Take(*loading) : E_POINTER;
}

void ClipPlayer::SetDpi(UINT dpi) { impl_->dpi = dpi; }

void ClipPlayer::SetPlayCount(long count) { impl_->playCount = count < 1 ? 1 : count; }

HRESULT ClipPlayer::Play() { return impl_->Play(); }

HRESULT ClipPlayer::Stop() { return impl_->Stop(); }

float ClipPlayer::Width() const { return impl_->widthTwips; }

float ClipPlayer::Height() const { return impl_->heightTwips; }

HRESULT ClipPlayer::Show(bool visible) {
  if (!impl_->hwnd()) return E_UNEXPECTED;
  ShowWindow(impl_->hwnd(), visible ? SW_SHOWNA : SW_HIDE);
  return S_OK;
}

}  // namespace alerts
