// The marker file's name rules, and its deletion safety, on a scripted folder.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "watch/marker_file.h"

namespace {

using watch::MarkerWatch;

TEST(FileNameOnly, OnlyTheBackslashSeparates) {
  EXPECT_EQ(Module1::FileNameOnly(L""), L"");
  EXPECT_EQ(Module1::FileNameOnly(L"new.flag"), L"new.flag");
  EXPECT_EQ(Module1::FileNameOnly(L"C:\\mail\\new.flag"), L"new.flag");
  EXPECT_EQ(Module1::FileNameOnly(L"C:\\mail\\"), L"");
  EXPECT_EQ(Module1::FileNameOnly(L"C:/mail/new.flag"), L"C:/mail/new.flag");
  EXPECT_EQ(Module1::FileNameOnly(L"C:new.flag"), L"C:new.flag");
}

// A folder whose lookup behaves as the platform's: the stored long name, the
// 8.3 alias and wildcards all find the stored name; case is ignored by lookup.
class FakeFolder final : public watch::MarkerFileSystem {
 public:
  std::wstring FindFirstNormalFile(const std::wstring& path) override {
    const std::wstring pattern = Module1::FileNameOnly(path);
    for (const auto& [stored, alias] : files) {
      if (Lower(pattern) == Lower(stored) || Lower(pattern) == Lower(alias) ||
          (pattern.find_first_of(L"*?") != std::wstring::npos && !pattern.empty()))
        return stored;
    }
    return {};
  }
  bool RemoveFile(const std::wstring& path) override {
    removed.push_back(path);
    if (locked) return false;
    const std::wstring name = Module1::FileNameOnly(path);
    for (auto it = files.begin(); it != files.end(); ++it)
      if (Lower(it->first) == Lower(name)) {
        files.erase(it);
        return true;
      }
    return false;
  }
  static std::wstring Lower(std::wstring s) {
    for (auto& c : s) c = static_cast<wchar_t>(towlower(c));
    return s;
  }
  std::map<std::wstring, std::wstring> files;  // stored name -> 8.3 alias
  std::vector<std::wstring> removed;
  bool locked = false;
};

TEST(MarkerWatch, ExactNameIsFoundAndDeleted) {
  FakeFolder folder;
  folder.files[L"NewMail.flag"] = L"NEWMAI~1.FLA";
  MarkerWatch watch(folder);
  EXPECT_TRUE(watch.CheckMarkerFile(L"C:\\mail\\NewMail.flag"));
  EXPECT_EQ(folder.removed, (std::vector<std::wstring>{L"C:\\mail\\NewMail.flag"}));
  EXPECT_FALSE(watch.CheckMarkerFile(L"C:\\mail\\NewMail.flag"));
}

TEST(MarkerWatch, NamesThatOnlyLookupMatchesAreNeverDeleted) {
  FakeFolder folder;
  folder.files[L"NewMail.flag"] = L"NEWMAI~1.FLA";
  MarkerWatch watch(folder);
  for (const wchar_t* path : {L"C:\\mail\\newmail.flag", L"C:\\mail\\NEWMAI~1.FLA",
                              L"C:\\mail\\*.flag", L"C:\\mail\\NewMail.fla?", L"C:\\mail\\",
                              L"", L"C:/mail/NewMail.flag", L"C:NewMail.flag"})
    EXPECT_FALSE(watch.CheckMarkerFile(path)) << std::wstring(path).size();
  EXPECT_TRUE(folder.removed.empty());
  EXPECT_EQ(folder.files.size(), 1u);
}

TEST(MarkerWatch, AnUndeletableMarkerAlertsOnceUntilSeenGone) {
  FakeFolder folder;
  folder.files[L"new.flag"] = L"NEW.FLA";
  folder.locked = true;
  MarkerWatch watch(folder);
  const std::wstring path = L"C:\\mail\\new.flag";
  EXPECT_TRUE(watch.CheckMarkerFile(path));
  EXPECT_FALSE(watch.CheckMarkerFile(path));
  EXPECT_FALSE(watch.CheckMarkerFile(path));
  folder.files.clear();  // the user removed it
  EXPECT_FALSE(watch.CheckMarkerFile(path));
  folder.files[L"new.flag"] = L"NEW.FLA";  // a new marker, still locked
  EXPECT_TRUE(watch.CheckMarkerFile(path));
  folder.locked = false;
  EXPECT_TRUE(watch.CheckMarkerFile(path)) << "deletable again: found and deleted";
  EXPECT_TRUE(folder.files.empty());
}

}  // namespace
