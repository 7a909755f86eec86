#include "settings/options.h"

#include <cstdint>
#include <limits>

#include "base/path.h"
#include "base/text.h"

namespace settings {
namespace {

using SO = SaveOn;

// key, field, default, when it saves
constexpr OptionRow kTable[] = {
    {L"FlashDrive", &Options::flashDrive, L"0", SO::Change},
    {L"Eject", &Options::eject, L"0", SO::Change},
    {L"Beep", &Options::beep, L"1", SO::Change},
    {L"Anim", &Options::clip, L"0", SO::Change},
    {L"AnimRight", &Options::clipTopRight, L"1", SO::Change},
    // Postlark's own clip, beside postlark.exe.
    {L"Movie", &Options::clipPath, L"mail.avi", SO::LostFocus},
    {L"Loop", &Options::plays, L"1", SO::Change},
    {L"FileDetect", &Options::marker, L"0", SO::Change},
    {L"FileDetectName", &Options::markerPath, L"", SO::LostFocus},
    {L"QuietFullScreen", &Options::quietWhilePresenting, L"1", SO::Change},
    {L"WatchNotifications", &Options::watchNotifications, L"1", SO::Change},
    // The tray's menu edits it.
    {L"NotifyApps", &Options::notifyApps, L"Microsoft.OutlookForWindows_8wekyb3d8bbwe", SO::Change, TooLong::Default},
};

}  // namespace

std::span<const OptionRow> OptionTable() { return kTable; }

const OptionRow& RowOf(Field field) {
  for (const OptionRow& row : kTable)
    if (row.field == field) return row;
  return kTable[0];  // every field has a row
}

bool ParseFlag(const std::wstring& text, bool def) {
  std::wstring_view t = base::Trim(text);
  bool negative = false;
  if (!t.empty() && (t.front() == L'+' || t.front() == L'-')) {
    negative = t.front() == L'-';
    t.remove_prefix(1);
  }
  if (t.empty()) return def;
  int value = 0;
  for (const wchar_t c : t) {
    if (c < L'0' || c > L'9') return def;
    value = value * 10 + (c - L'0');
    if (value > 2) return def;
  }
  if (negative && value != 0) return def;
  return value == 1;
}

int ParsePlays(const std::wstring& text) {
  const std::wstring_view t = base::Trim(text);
  size_t i = 0;
  const size_t end = t.size();
  // Plain decimal only: digits with an optional sign and fraction.
  bool negative = false;
  if (i < end && (t[i] == L'+' || t[i] == L'-')) negative = t[i++] == L'-';
  const auto digit = [&](size_t k) { return k < end && t[k] >= L'0' && t[k] <= L'9'; };
  constexpr int kMost = std::numeric_limits<std::int16_t>::max();
  long whole = 0;
  size_t digits = 0;
  for (; digit(i); ++i, ++digits)
    if (whole <= kMost) whole = whole * 10 + (t[i] - L'0');
  int first = 0;        // first digit of the fraction
  bool beyond = false;  // any other non-zero digit after it
  if (i < end && t[i] == L'.') {
    ++i;
    for (size_t k = 0; digit(i); ++i, ++k, ++digits) {
      if (k == 0) first = t[i] - L'0';
      else if (t[i] != L'0') beyond = true;
    }
  }
  if (digits == 0 || i != end) return 1;
  // Half to even: 2.5 is 2, 3.5 is 4, 2.51 is 3.
  if (first > 5 || (first == 5 && (beyond || whole % 2 == 1))) ++whole;
  if (negative || whole < 1 || whole > kMost) return 1;
  return static_cast<int>(whole);
}

OptionBook::OptionBook(SettingsStore& store)
    : store_(store), typed_(std::size(kTable)), stored_(std::size(kTable)) {
  for (size_t i = 0; i < std::size(kTable); ++i) {
    const OptionRow& row = kTable[i];
    stored_[i] = row.def;
    if (const Flag* flag = std::get_if<Flag>(&row.field))
      options_.*(*flag) = ParseFlag(row.def, false);
    else if (const Count* count = std::get_if<Count>(&row.field))
      options_.*(*count) = ParsePlays(typed_[i] = row.def);
    else
      options_.*std::get<Text>(row.field) = row.def;
  }
}

void OptionBook::LoadSettings() {
  for (size_t i = 0; i < std::size(kTable); ++i) {
    const OptionRow& row = kTable[i];
    // No box holds more; a longer text can only come from the registry.
    std::wstring stored = store_.GetSetting(kAppName, kOptionsSection, row.key, row.def);
    if (stored.size() > base::kLongestText)
      stored = row.tooLong == TooLong::Cut ? stored.substr(0, base::kLongestText) : row.def;
    stored_[i] = stored;
    if (const Flag* flag = std::get_if<Flag>(&row.field)) {
      options_.*(*flag) = ParseFlag(stored, ParseFlag(row.def, false));
    } else if (const Count* count = std::get_if<Count>(&row.field)) {
      options_.*(*count) = ParsePlays(typed_[i] = stored);
    } else {
      options_.*std::get<Text>(row.field) = stored;
    }
    if (Changed) Changed(row.field);
  }
}

void OptionBook::Set(Flag field, bool value) {
  if (options_.*field == value) return;
  options_.*field = value;
  Edited(field);
}

void OptionBook::Set(Text field, const std::wstring& text) {
  const std::wstring value = text.substr(0, base::kLongestText);
  if (options_.*field == value) return;
  options_.*field = value;
  Edited(field);
}

void OptionBook::Set(Count field, const std::wstring& typed) {
  const size_t row = Row(field);
  const std::wstring value = typed.substr(0, base::kLongestText);
  if (typed_[row] == value) return;
  typed_[row] = value;
  options_.*field = ParsePlays(value);
  Edited(field);
}

void OptionBook::Edited(Field field) {
  if (Changed) Changed(field);
  if (RowOf(field).saveOn == SaveOn::Change) Write(Row(field));
}

void OptionBook::Save(Field field) { Write(Row(field)); }

std::wstring OptionBook::Shown(Field field) const {
  if (const Text* text = std::get_if<Text>(&field)) return options_.*(*text);
  if (std::holds_alternative<Count>(field)) return typed_[Row(field)];
  return options_.*std::get<Flag>(field) ? L"1" : L"0";
}

size_t OptionBook::Row(Field field) const { return static_cast<size_t>(&RowOf(field) - kTable); }

void OptionBook::Write(size_t row) {
  std::wstring text = Shown(kTable[row].field);
  const DWORD error = store_.SaveSetting(kAppName, kOptionsSection, kTable[row].key, text);
  if (error != ERROR_SUCCESS) {
    if (SaveFailed) SaveFailed(error);
    return;
  }
  stored_[row] = std::move(text);
}

}  // namespace settings
