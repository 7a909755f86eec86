// The drive alerts: exact MCI commands, a silent failure without a drive, and
// the floppy read that always closes its file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "alerts/drives.h"
#include "support/paths.h"

using namespace alerts;
using testing_support::TestFolder;

namespace {

class RecordingMci final : public MciChannel {
 public:
  DWORD SendString(const char* command, char* reply, UINT chars) override {
    commands.push_back(command + std::string(" /") + std::to_string(chars));
    if (reply && *replyText) lstrcpynA(reply, replyText, static_cast<int>(chars));
    return 0;
  }
  std::vector<std::string> commands;
  const char* replyText = "";
};

// Helpers nothing calls yet: the door shut again, and what it says it is.
TEST(CdTray, SendsTheFixedCommandsAndTakesTheModeWithoutBlanks) {
  RecordingMci mci;
  OpenCdTray(mci);
  CloseCdTray(mci);
  mci.replyText = "open";
  EXPECT_EQ(GetCdTrayMode(mci), "open");
  mci.replyText = "";
  EXPECT_EQ(GetCdTrayMode(mci), "") << "nothing written: all blanks";
  EXPECT_EQ(mci.commands, (std::vector<std::string>{"set cdaudio door open /0", "set cdaudio door closed /0",
                                                    "status cdaudio mode /255", "status cdaudio mode /255"}));
}

TEST(FloppyFlash, ReadsTheFileToItsEndAndClosesIt) {
  const std::wstring folder = TestFolder(L"floppy");
  const std::wstring path = folder + L"\\dummyfile";
  for (const DWORD bytes : {10, 0}) {
    ASSERT_TRUE(testing_support::MakeFile(path, FILE_ATTRIBUTE_NORMAL, bytes));
    FlashFloppyDrive(testing_support::Narrow(path).c_str());
    // Closed: it can be opened exclusively and deleted at once.
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(h, INVALID_HANDLE_VALUE) << "still open after reading " << bytes << " bytes";
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    EXPECT_TRUE(DeleteFileW(path.c_str()));
  }
}

}  // namespace
