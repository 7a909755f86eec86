#pragma once
// Stand-ins for the parts of Postlark around the logic under test: a
// settings store in memory, an animation window that counts, and a desk that
// plays Outlook, the marker file and the alert effects, recording each call.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "alerts/animation.h"
#include "settings/settings_store.h"
#include "watch/check_cycle.h"

namespace testing_support {

class MemoryStore final : public settings::SettingsStore {
 public:
  std::wstring GetSetting(const std::wstring& app, const std::wstring& section,
                          const std::wstring& key, const std::wstring& def) override;
  void SaveSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                   const std::wstring& value) override;
  // Postlark's options section, by key.
  std::wstring& operator[](const std::wstring& key) { return values[Path(key)]; }
  bool Has(const std::wstring& key) const { return values.count(Path(key)) != 0; }
  static std::wstring Path(const std::wstring& key) { return L"Postlark\\Options\\" + key; }

  std::map<std::wstring, std::wstring> values;
  bool keepLog = true;               // a month of saves would make a long log
  std::vector<std::wstring> reads;   // keys, in order
  std::vector<std::wstring> writes;  // "key=value", in order
  long saves = 0;
};

// Counts plays and hides the way the animation window does, without a window.
class FakeAnimationWindow final : public alerts::AnimationWindow {
 public:
  std::int16_t playAnimTimes() const override { return seq.playAnimTimes; }
  void set_playAnimTimes(std::int16_t plays) override { seq.playAnimTimes = plays; }
  void put_LoopCount(long count) override { loopCount = count; }
  void PlayRandomClip(std::int32_t left_pos) override { lefts.push_back(left_pos); }
  void timedShutdownBegin() override {
    seq.timedShutdownBegin();
    ++shutdowns;
  }

  alerts::AnimationSequence seq;
  long loopCount = 0;
  std::vector<std::int32_t> lefts;
  int shutdowns = 0;
};

// Mail arrives when the test says so; each effect is logged ("probe",
// "marker", "alert", "beep", "eject", "anim <left>", "floppy") and counted.
class FakeDesk final : public watch::MailSources, public watch::AlertEffects {
 public:
  bool Quiet() override { return presenting; }
  bool CheckOutlookTray() override;
  bool CheckMarkerFile(const std::wstring& path) override;
  void Beep() override { Record("beep"); }
  void OpenCdTray() override { Record("eject"); }
  void StartAnimation(std::int32_t left_pos) override;
  void FlashFloppyDrive() override { Record("floppy"); }
  std::wstring StoredAnimRight() override { return animRight; }
  void AlertRaised() override { Record("alert"); }

  int Count(const std::string& what) const;

  bool presenting = false;  // no look while set
  bool envelope = false;    // the next probe finds it (and removes it)
  bool marker = false;    // the next marker check finds it (and deletes it)
  std::wstring animRight = L"1";
  std::wstring markerPath;  // as the last marker check got it
  std::function<void(std::int32_t)> onStartAnimation;
  bool keepLog = true;  // a month of ticks would make a long log
  std::vector<std::string> log;

 private:
  void Record(const std::string& what);
  std::map<std::string, int> counts_;
};

}  // namespace testing_support
