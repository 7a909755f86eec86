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
  const std::string path = std::string(folder.begin(), folder.end()) + "\\dummyfile";
  for (const std::string& content : {std::string("some bytes"), std::string()}) {
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    fwrite(content.data(), 1, content.size(), f);
    fclose(f);
    FlashFloppyDrive(path.c_str());
    // Closed: it can be opened exclusively and deleted at once.
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(h, INVALID_HANDLE_VALUE) << "still open after reading " << content.size() << " bytes";
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    EXPECT_TRUE(DeleteFileA(path.c_str()));
  }
}

TEST(FloppyFlash, NoFileOrNoDriveIsSilent) {
  FlashFloppyDrive();  // A: as this machine has it (usually none)
  FlashFloppyDrive("q:\\no\\such\\dummyfile");
  FlashFloppyDrive("");
  EXPECT_EQ(FindWindowW(L"#32770", nullptr), nullptr) << "a message box asked for a disk";
}

}  // namespace
