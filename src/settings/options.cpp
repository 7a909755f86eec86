#include "settings/options.h"

#include "base/decimal.h"
#include "base/path.h"

namespace settings {
namespace {

using SO = SaveOn;

// key, field, default, when it saves
constexpr OptionRow kTable[] = {
    {L"FlashDrive", &Options::FlashDrive, L"0", SO::Click},
    {L"Eject", &Options::Eject, L"0", SO::Click},
    {L"Beep", &Options::Beep, L"1", SO::Click},
    {L"Anim", &Options::Anim, L"0", SO::Click},
    {L"AnimRight", &Options::AnimRight, L"1", SO::Click},
    {L"Movie", &Options::Movie, L"c:\\movie1.avi", SO::LostFocus},
    {L"Loop", &Options::Loop, L"1", SO::Change},
    {L"FileDetect", &Options::FileDetect, L"0", SO::Click},
    {L"FileDetectName", &Options::FileDetectName, L"", SO::LostFocus},
    {L"QuietFullScreen", &Options::QuietFullScreen, L"1", SO::Click},
    {L"WatchNotifications", &Options::WatchNotifications, L"1", SO::Click},
    // No box shows it, and nothing but the user's own edit writes it.
    {L"NotifyApps", &Options::NotifyApps, L"Microsoft.OutlookForWindows_8wekyb3d8bbwe", SO::LostFocus},
};

std::int16_t FlagValue(const std::wstring& text, const wchar_t* def) {
  return ParseCheckValue(text).value_or(ParseCheckValue(def).value_or(base::kCleared));
}

}  // namespace

std::span<const OptionRow> OptionTable() { return kTable; }

const OptionRow& RowOf(Field field) {
  for (const OptionRow& row : kTable)
    if (row.field == field) return row;
  return kTable[0];  // every field has a row
}

std::optional<std::int16_t> ParseCheckValue(const std::wstring& text) {
  size_t i = 0, end = text.size();
  while (i < end && text[i] == L' ') ++i;
  while (end > i && text[end - 1] == L' ') --end;
  bool negative = false;
  if (i < end && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
  if (i == end) return std::nullopt;
  int value = 0;
  for (; i < end; ++i) {
    if (text[i] < L'0' || text[i] > L'9') return std::nullopt;
    value = value * 10 + (text[i] - L'0');
    if (value > 2) return std::nullopt;
  }
  if (negative && value != 0) return std::nullopt;
  return static_cast<std::int16_t>(value);
}

OptionBook::OptionBook(SettingsStore& store) : store_(store) {
  for (const OptionRow& row : kTable) {
    if (const Flag* flag = std::get_if<Flag>(&row.field))
      options_.*(*flag) = FlagValue(L"", row.def);
    else
      options_.*std::get<Text>(row.field) = row.def;
  }
}

void OptionBook::LoadSettings() {
  for (const OptionRow& row : kTable) {
    const std::wstring stored = store_.GetSetting(kAppName, kOptionsSection, row.key, row.def);
    // A value from outside that is not 0, 1 or 2 counts as the default.
    if (const Flag* flag = std::get_if<Flag>(&row.field))
      Set(*flag, FlagValue(stored, row.def));
    else
      Set(std::get<Text>(row.field), stored);
  }
}

void OptionBook::Set(Flag field, std::int16_t value) {
  if (options_.*field == value) return;
  options_.*field = value;
  if (Changed) Changed(field);
  Write(RowOf(field));
}

void OptionBook::Set(Text field, const std::wstring& text) {
  // No box holds more; a longer text can only come from the registry.
  const std::wstring value = text.substr(0, base::kLongestText);
  if (options_.*field == value) return;
  options_.*field = value;
  if (Changed) Changed(field);
  const OptionRow& row = RowOf(field);
  if (row.saveOn != SaveOn::LostFocus) Write(row);
}

void OptionBook::Toggle(Flag field) { Set(field, base::IsTicked(options_.*field) ? base::kCleared : base::kTicked); }

void OptionBook::Save(Field field) { Write(RowOf(field)); }

void OptionBook::Write(const OptionRow& row) {
  const std::wstring value = std::holds_alternative<Flag>(row.field)
                                 ? base::DecimalW(options_.*std::get<Flag>(row.field))
                                 : options_.*std::get<Text>(row.field);
  store_.SaveSetting(kAppName, kOptionsSection, row.key, value);
}

std::wstring OptionBook::Stored(Field field) const {
  const OptionRow& row = RowOf(field);
  return store_.GetSetting(kAppName, kOptionsSection, row.key, row.def);
}

bool OptionBook::StoredAnimRight() const { return Stored(&Options::AnimRight) == L"1"; }

}  // namespace settings
