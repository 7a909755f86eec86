#pragma once
// The stored options as data: a typed record, and one table of its fields,
// each with its key, its default and when a change of it is saved. The table
// drives the defaults, the load at start-up, every save and the conversions
// to and from the stored text; a window shows the fields and edits them
// through OptionBook. Adding an option is a member and a row.
#include <functional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "settings/settings_store.h"

namespace settings {

struct Options {
  bool flashDrive, eject, beep, clip, clipTopRight, marker, quietWhilePresenting, watchNotifications;
  std::wstring clipPath;
  int plays;  // times the clip plays, 1 to 32767
  std::wstring markerPath;
  // The mail apps whose toasts are mail, ";" between them.
  std::wstring notifyApps;
};

using Flag = bool Options::*;
using Count = int Options::*;
using Text = std::wstring Options::*;
using Field = std::variant<Flag, Count, Text>;

// When a change is written: at once (a check box, the loop count as it is
// typed, the mail apps), or when its box loses the focus (Save).
enum class SaveOn { Change, LostFocus };

// A stored text longer than the longest path: cut to it, or of no use at
// all (the default then).
enum class TooLong { Cut, Default };

struct OptionRow {
  const wchar_t* key;
  Field field;
  const wchar_t* def;
  SaveOn saveOn;
  TooLong tooLong = TooLong::Cut;
};

std::span<const OptionRow> OptionTable();
const OptionRow& RowOf(Field field);

// A check box as stored: "1" ticked; "0" clear, and "2" (greyed) clear too;
// blanks around it and a sign are tolerated. Anything else: the default.
bool ParseFlag(const std::wstring& text, bool def);
// The loop box's text as a play count: a whole number from 1 to 32767, a
// fraction rounded half to even. Anything else (empty, not a number, out of
// range, 0 or less) plays the clip once.
int ParsePlays(const std::wstring& text);

// The record, its store and the rules between them.
class OptionBook {
 public:
  // The record starts at the table's defaults.
  explicit OptionBook(SettingsStore& store);
  OptionBook(const OptionBook&) = delete;
  OptionBook& operator=(const OptionBook&) = delete;

  const Options& Get() const { return options_; }

  // Reads every key in the table's order into the record, writing nothing.
  void LoadSettings();
  // A change, from the user or from code. Nothing happens when the value is
  // the same; otherwise the record changes, Changed runs, and the store is
  // written if the field saves on change.
  void Set(Flag field, bool value);
  void Set(Text field, const std::wstring& value);
  // The loop box's text: the count is parsed from it, the text is stored.
  void Set(Count field, const std::wstring& typed);
  void Toggle(Flag field) { Set(field, !(options_.*field)); }
  // Writes the field's current value (a path box losing the focus).
  void Save(Field field);
  // The field as its box shows it: a path as typed, a count as typed.
  std::wstring Shown(Field field) const;
  // The text last loaded or written: a path being typed is not it yet.
  const std::wstring& Stored(Field field) const { return stored_[Row(field)]; }

  // After a change of the record, for whatever shows it.
  std::function<void(Field)> Changed;
  // A write the store refused, with the system's error.
  std::function<void(DWORD error)> SaveFailed;

 private:
  size_t Row(Field field) const;
  // The record changed: Changed runs, and the store is written if the field
  // saves on change.
  void Edited(Field field);
  void Write(size_t row);

  SettingsStore& store_;
  Options options_{};
  std::vector<std::wstring> typed_;   // per row: a count's text as typed
  std::vector<std::wstring> stored_;  // per row: as last loaded or written
};

}  // namespace settings
