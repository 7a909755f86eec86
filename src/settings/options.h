#pragma once
// The stored options as data: a typed record, and one table of its fields,
// each with its key, its default and when a change of it is saved. The table
// drives the defaults, the load at start-up and every save; a window shows
// the fields and edits them through OptionBook. Adding an option is a member
// and a row.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <variant>

#include "base/flag.h"
#include "settings/settings_store.h"

namespace settings {

struct Options {
  // Check box values: 0 clear, 1 ticked, 2 greyed; only 1 is on.
  std::int16_t FlashDrive, Eject, Beep, Anim, AnimRight, FileDetect, QuietFullScreen, WatchNotifications;
  std::wstring Movie, Loop, FileDetectName;
  // The mail apps whose toasts are mail, ";" between them; only read.
  std::wstring NotifyApps;
};

using Flag = std::int16_t Options::*;
using Text = std::wstring Options::*;
using Field = std::variant<Flag, Text>;

// When a change is written: a flag whenever it changes, the loop text on
// every change, a path when its box loses the focus (Save).
enum class SaveOn { Click, Change, LostFocus };

struct OptionRow {
  const wchar_t* key;
  Field field;
  const wchar_t* def;
  SaveOn saveOn;
};

std::span<const OptionRow> OptionTable();
const OptionRow& RowOf(Field field);

// A check box value as stored: "0", "1" or "2" (blanks around it and a sign
// are tolerated). Anything else yields nothing.
std::optional<std::int16_t> ParseCheckValue(const std::wstring& text);

// The record, its store and the rules between them.
class OptionBook {
 public:
  // The record starts at the table's defaults.
  explicit OptionBook(SettingsStore& store);
  OptionBook(const OptionBook&) = delete;
  OptionBook& operator=(const OptionBook&) = delete;

  const Options& Get() const { return options_; }

  // Reads every key in the table's order. A field that changes is saved by
  // its rule, as a change by the user would be: the value just loaded goes
  // straight back.
  void LoadSettings();
  // A change, from the user or from code. Nothing happens when the value is
  // the same; otherwise the record changes, Changed runs, and the store is
  // written unless the field saves on losing the focus.
  void Set(Flag field, std::int16_t value);
  void Set(Text field, const std::wstring& value);
  // A click by the user: ticks a clear or greyed flag, clears a ticked one.
  void Toggle(Flag field);
  // Writes the field's current value (a path box losing the focus).
  void Save(Field field);

  // The stored text of the field's key, or its default.
  std::wstring Stored(Field field) const;
  // Whether the clip goes top right: the stored "AnimRight" is exactly "1".
  bool StoredAnimRight() const;

  // After a change of the record, for whatever shows it.
  std::function<void(Field)> Changed;

 private:
  void Write(const OptionRow& row);

  SettingsStore& store_;
  Options options_{};
};

}  // namespace settings
