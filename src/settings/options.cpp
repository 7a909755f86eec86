#include "settings/options.h"

#include <cwchar>

#include "base/decimal.h"

namespace settings {

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

Options::Options(SettingsStore& store, std::vector<Option> table)
    : store_(store), table_(std::move(table)) {
  for (const Option& row : table_) {
    if (auto* box = std::get_if<ui::CheckBox*>(&row.control)) {
      ui::CheckBox& check = **box;
      check.SetValue(ParseCheckValue(row.def).value_or(0));
      check.Click = [this, &check, key = row.key] { Save(key, base::DecimalW(check.Value())); };
    } else {
      ui::TextBox& text = *std::get<ui::TextBox*>(row.control);
      text.SetText(row.def);
      auto save = [this, &text, key = row.key] { Save(key, text.Text()); };
      (row.saveOn == SaveOn::Change ? text.Change : text.LostFocus) = save;
    }
  }
}

void Options::Save(const wchar_t* key, const std::wstring& value) {
  store_.SaveSetting(kAppName, kOptionsSection, key, value);
}

const Option* Options::Find(const wchar_t* key) const {
  for (const Option& row : table_)
    if (std::wcscmp(row.key, key) == 0) return &row;
  return nullptr;
}

void Options::LoadSettings() {
  for (const Option& row : table_) {
    const std::wstring stored = store_.GetSetting(kAppName, kOptionsSection, row.key, row.def);
    if (auto* box = std::get_if<ui::CheckBox*>(&row.control)) {
      // A value from outside that is not 0, 1 or 2 counts as the default.
      (*box)->SetValue(ParseCheckValue(stored).value_or(ParseCheckValue(row.def).value_or(0)));
    } else {
      std::get<ui::TextBox*>(row.control)->SetText(stored);
    }
  }
}

std::wstring Options::Stored(const wchar_t* key) const {
  const Option* row = Find(key);
  return store_.GetSetting(kAppName, kOptionsSection, key, row ? row->def : L"");
}

}  // namespace settings
