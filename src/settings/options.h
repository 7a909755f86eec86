#pragma once
// The stored options as one table. Each row names the option's key, the
// control that holds its live value, its default, and when the control saves
// it. The table gives the controls their design values, wires their saves
// and drives the load at start-up; adding an option is adding a row.
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "settings/settings_store.h"
#include "ui/controls.h"

namespace settings {

// When a control writes its option: a check box whenever its value changes,
// the loop box on every change of its text, a path box when it loses the
// focus.
enum class SaveOn { Click, Change, LostFocus };

struct Option {
  const wchar_t* key;
  std::variant<ui::CheckBox*, ui::TextBox*> control;
  const wchar_t* def;
  SaveOn saveOn;
};

// A check box value as stored: "0", "1" or "2" (blanks around it and a sign
// are tolerated). Anything else yields nothing.
std::optional<std::int16_t> ParseCheckValue(const std::wstring& text);

class Options {
 public:
  // Puts each default into its control, then connects the saves.
  Options(SettingsStore& store, std::vector<Option> table);
  Options(const Options&) = delete;
  Options& operator=(const Options&) = delete;

  // Fills the controls from the store in the table's order. Setting a
  // control runs its save, which writes the loaded value straight back.
  void LoadSettings();

  // The stored text of a key in the table, or its default.
  std::wstring Stored(const wchar_t* key) const;

 private:
  void Save(const wchar_t* key, const std::wstring& value);
  const Option* Find(const wchar_t* key) const;

  SettingsStore& store_;
  std::vector<Option> table_;
};

}  // namespace settings
