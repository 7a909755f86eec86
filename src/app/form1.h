#pragma once
// The options window: it shows the options and edits them, shows the status
// line, and says what its buttons mean. The application owns it and is told
// what the window cannot decide itself.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/form1_layout.h"
#include "settings/browse.h"
#include "settings/options.h"
#include "ui/control_set.h"
#include "ui/window.h"

namespace app {

inline constexpr wchar_t kForm1Class[] = L"PostlarkMain";

// What the options window passes on to the application.
class Form1Events {
 public:
  virtual ~Form1Events() = default;
  // The window is closing: close box, end of the session, the tray's Exit.
  virtual void Form_Unload() = 0;
  // The Exit button: Postlark ends at once.
  virtual void Command2_Click() = 0;
  // The tray icon's notifications arrive as mouse moves (see tray.h).
  virtual void Form_MouseMove(LPARAM lParam) = 0;
  // A message the window does not know: the application's own (posted
  // results, the restore request, the shell's "TaskbarCreated").
  virtual bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) = 0;
};

class Form1 final : public ui::Window, public Form1Controls {
 public:
  Form1(settings::OptionBook& book, Form1Events& events);

  // The window and its controls, not shown yet, showing the options as they
  // are; the caption carries the version.
  bool Create();
  // Shown and painted, with the focus on the first control.
  void Show();
  // Back into view, in front.
  void Restore();
  // Closes the window, saving the path being typed first.
  void Close();
  void ShowStatus(const std::wstring& status, const std::wstring& idle);
  // The user is still typing the path: its box has the focus, or lost it to
  // another program and has not been left for another control since.
  bool Editing(settings::Text field) const;

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void OnDestroyed() override;

  void Bind();
  void ShowField(settings::Field field);
  // A path box lost the focus: saved when the focus went to another control
  // of this window or the window is going, not when another program took it.
  void FocusLeft(size_t binding);
  // Hiding or closing saves the paths being typed.
  void SaveEdits();
  void OnActivate(WPARAM state);
  void Form_Resize(WPARAM sizeType);
  void Command1_Click();
  void cmdBrowseAnimation_Click();
  void cmdBrowseDetect_Click();
  void Browse(ui::TextBox& box, const wchar_t* filter);

  settings::OptionBook& book_;
  Form1Events& events_;
  std::vector<Binding> bindings_;
  std::vector<bool> leftForOtherProgram_;  // per binding
  HWND lastFocus_ = nullptr;  // restored when the window is active again
  settings::CommonDialog CommonDialog1;
  std::unique_ptr<ui::ControlSet> controls_;
};

}  // namespace app
