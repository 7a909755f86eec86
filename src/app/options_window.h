#pragma once
// The options window: it shows the options and edits them, shows the status
// line, and says what its buttons mean. It handles its own controls, its
// close and its hide; the application owns it and is told the rest.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/options_layout.h"
#include "settings/browse.h"
#include "settings/options.h"
#include "ui/control_set.h"
#include "ui/window.h"

namespace app {

inline constexpr wchar_t kOptionsWindowClass[] = L"PostlarkMain";

class OptionsWindow final : public ui::Window, public OptionsControls {
 public:
  explicit OptionsWindow(settings::OptionBook& book);
  // The book outlives the window: it no longer tells the window of changes.
  ~OptionsWindow() override;

  // The window and its controls, not shown yet, showing the options as they
  // are; the caption carries the version.
  bool Create();
  // Shown and painted, with the focus on the first control.
  void Show();
  // Back into view, in front.
  void Restore();
  // Closes the window, saving the path being typed first.
  void Close();
  void ShowStatus(const std::wstring& statusText, const std::wstring& idleText);
  // The user is still typing the path: its box has the focus, or lost it to
  // another program and has not been left for another control since.
  bool Editing(settings::Text field) const;

  // The window is going (close box, the end of the session, Close).
  std::function<void()> Closed;
  // The Exit button: Postlark ends at once.
  std::function<void()> ExitNow;

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  void Bind();
  void ShowField(settings::Field field);
  // A path box lost the focus: saved when the focus went to another control
  // of this window or the window is going, not when another program took it.
  void FocusLeft(size_t binding);
  // Hiding or closing saves the paths being typed.
  void SaveEdits();
  void OnActivate(WPARAM state);
  void OnResized(WPARAM sizeType);
  void Browse(ui::TextBox& box, const wchar_t* filter);

  settings::OptionBook& book_;
  std::vector<Binding> bindings_;
  std::vector<bool> leftForOtherProgram_;  // per binding
  HWND lastFocus_ = nullptr;  // restored when the window is active again
  settings::CommonDialog openDialog_;
  std::unique_ptr<ui::ControlSet> controls_;
  bool closed_ = false;
};

}  // namespace app
