#pragma once
// The nine stored options: which control each belongs to, its key and its
// default. One table drives both the load at start-up and the saves.
#include <cstdint>
#include <optional>
#include <string>

#include "settings/settings_store.h"
#include "ui/controls.h"

struct OptionControls {
  ui::CheckBox& chkFlashDrive;
  ui::CheckBox& chkEject;
  ui::CheckBox& chkBeep;
  ui::CheckBox& chkAnim;
  ui::CheckBox& chkAnimRight;
  ui::TextBox& txtMovie;
  ui::TextBox& txtLoop;
  ui::CheckBox& chkFileDetect;
  ui::TextBox& txtFileDetect;
};

// A check box value as stored: "0", "1" or "2" (blanks around it and a sign
// are tolerated). Anything else yields nothing.
std::optional<std::int16_t> ParseCheckValue(const std::wstring& text);

class Options {
 public:
  Options(OptionControls controls, SettingsStore& store);

  // Wires each control's own event to its save: check boxes on every change of
  // value, the loop box on every change, the path boxes on losing the focus.
  void ConnectSaveHandlers();

  // Fills the controls from the store, in the fixed order. Setting a control
  // runs its save handler, which writes the loaded value straight back.
  void LoadSettings();

  // "AnimRight" as stored, default "1": where the alert puts the clip.
  std::wstring StoredAnimRight();

 private:
  void Save(const wchar_t* key, const std::wstring& value);
  void Load(ui::CheckBox& box, const wchar_t* key, const wchar_t* def);
  void Load(ui::TextBox& box, const wchar_t* key, const wchar_t* def);

  OptionControls c_;
  SettingsStore& store_;
};
