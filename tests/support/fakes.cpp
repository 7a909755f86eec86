#include "support/fakes.h"

#include "watch/envelope_probe.h"

namespace testing_support {

std::wstring MemoryStore::GetSetting(const std::wstring& app, const std::wstring& section,
                                     const std::wstring& key, const std::wstring& def) {
  if (keepLog) reads.push_back(key);
  auto it = values.find(app + L"\\" + section + L"\\" + key);
  return it == values.end() ? def : it->second;
}

void MemoryStore::SaveSetting(const std::wstring& app, const std::wstring& section,
                              const std::wstring& key, const std::wstring& value) {
  ++saves;
  if (keepLog) writes.push_back(key + L"=" + value);
  values[app + L"\\" + section + L"\\" + key] = value;
}

bool FakeDesk::CheckOutlookTray() {
  Record("probe");
  const bool found = envelope;
  envelope = false;
  if (found) Module1::gbMailArrived = base::kTrue;
  return found;
}

bool FakeDesk::CheckMarkerFile(const std::wstring& path) {
  Record("marker");
  markerPath = path;
  const bool found = marker;
  marker = false;
  return found;
}

void FakeDesk::StartAnimation(std::int32_t left_pos) {
  Record("anim " + std::to_string(left_pos));
  if (onStartAnimation) onStartAnimation(left_pos);
}

int FakeDesk::Count(const std::string& what) const {
  auto it = counts_.find(what);
  return it == counts_.end() ? 0 : it->second;
}

void FakeDesk::Record(const std::string& what) {
  ++counts_[what];
  if (keepLog) log.push_back(what);
}

}  // namespace testing_support
