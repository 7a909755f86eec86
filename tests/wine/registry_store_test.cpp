// The registry behind the stored options.
#include <gtest/gtest.h>

#include "settings/settings_store.h"
#include "base/scoped.h"
#include "support/registry.h"

using namespace testing_support;

namespace {

TEST(RegistryStore, MissingKeysGiveTheDefaultAndWritesReadBackExactly) {
  ClearOptions();
  auto store = settings::MakeRegistryStore();
  EXPECT_EQ(store->GetSetting(L"Postlark", L"Options", L"Loop", L"1"), L"1");
  const std::wstring texts[] = {L"", L"12", L"D:\\\u30e1\u30fc\u30eb\\\u65b0\u7740.flag",
                                std::wstring(100000, L'9')};
  for (const auto& text : texts) {
    store->SaveSetting(L"Postlark", L"Options", L"Loop", text);
    EXPECT_EQ(store->GetSetting(L"Postlark", L"Options", L"Loop", L"1"), text)
        << "length " << text.size();
    EXPECT_EQ(GetOption(L"Loop"), text);
  }
  ClearOptions();
}

TEST(RegistryStore, AValueOfAnotherTypeReadsAsTheDefaultAndAMultiStringAsAList) {
  ClearOptions();
  {
    base::RegKey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Postlark\\Options", 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, key.Out(), nullptr),
              ERROR_SUCCESS);
    const DWORD one = 1;
    RegSetValueExW(key.get(), L"Beep", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
  }
  EXPECT_EQ(settings::MakeRegistryStore()->GetSetting(L"Postlark", L"Options", L"Beep", L"0"), L"0");
  // A list written by hand as a multi-string reads as one text.
  const wchar_t apps[] = L"Contoso.Mail_abc\0C:\\Mail\\mail.exe\0";
  RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Postlark\\Options", L"NotifyApps", REG_MULTI_SZ, apps, sizeof apps);
  EXPECT_EQ(settings::MakeRegistryStore()->GetSetting(L"Postlark", L"Options", L"NotifyApps", L""),
            L"Contoso.Mail_abc;C:\\Mail\\mail.exe");
  ClearOptions();
}

}  // namespace
