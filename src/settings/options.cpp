#include "settings/options.h"
#include "ui/decimal.h"

#include <cwctype>

namespace {

void Connect(ui::CheckBox& box, std::function<void(const std::wstring&)> save) {
  box.Click = [&box, save] { save(ui::DecimalW(box.Value())); };
}

}  // namespace

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

Options::Options(OptionControls controls, SettingsStore& store) : c_(controls), store_(store) {}

void Options::Save(const wchar_t* key, const std::wstring& value) {
  store_.SaveSetting(kAppName, kOptionsSection, key, value);
}

void Options::ConnectSaveHandlers() {
  auto saver = [this](const wchar_t* key) {
    return [this, key](const std::wstring& value) { Save(key, value); };
  };
  Connect(c_.chkFlashDrive, saver(L"FlashDrive"));
  Connect(c_.chkEject, saver(L"Eject"));
  Connect(c_.chkBeep, saver(L"Beep"));
  Connect(c_.chkAnim, saver(L"Anim"));
  Connect(c_.chkAnimRight, saver(L"AnimRight"));
  Connect(c_.chkFileDetect, saver(L"FileDetect"));
  c_.txtLoop.Change = [this] { Save(L"Loop", c_.txtLoop.Text()); };
  c_.txtMovie.LostFocus = [this] { Save(L"Movie", c_.txtMovie.Text()); };
  c_.txtFileDetect.LostFocus = [this] { Save(L"FileDetectName", c_.txtFileDetect.Text()); };
}

void Options::Load(ui::CheckBox& box, const wchar_t* key, const wchar_t* def) {
  const std::wstring stored = store_.GetSetting(kAppName, kOptionsSection, key, def);
  // A value from outside that is not 0, 1 or 2 counts as the default.
  box.SetValue(ParseCheckValue(stored).value_or(*ParseCheckValue(def)));
}

void Options::Load(ui::TextBox& box, const wchar_t* key, const wchar_t* def) {
  box.SetText(store_.GetSetting(kAppName, kOptionsSection, key, def));
}

void Options::LoadSettings() {
  Load(c_.chkFlashDrive, L"FlashDrive", L"0");
  Load(c_.chkEject, L"Eject", L"0");
  Load(c_.chkBeep, L"Beep", L"1");
  Load(c_.chkAnim, L"Anim", L"0");
  Load(c_.chkAnimRight, L"AnimRight", L"1");
  Load(c_.txtMovie, L"Movie", L"c:\\movie1.avi");
  Load(c_.txtLoop, L"Loop", L"1");
  Load(c_.chkFileDetect, L"FileDetect", L"0");
  Load(c_.txtFileDetect, L"FileDetectName", L"");
}

std::wstring Options::StoredAnimRight() {
  return store_.GetSetting(kAppName, kOptionsSection, L"AnimRight", L"1");
}
