#pragma once
// Where the build under test and its test data are, and the files a test makes.
#include <windows.h>

#include <string>

namespace testing_support {

std::wstring Env(const wchar_t* name);
// A path from the Unix side ("/work/x") as Wine names it ("Z:\\work\\x").
std::wstring WinPath(std::wstring path);
// From the environment when set, else from the folder ctest runs the tests
// in (build/<arch>/tests).
std::wstring PostlarkExe();
std::wstring StandInExe();
std::wstring StandInNotificationsDll();
std::wstring TestDataFolder();
// Folder for this test's files (created), under the test data folder.
std::wstring TestFolder(const std::wstring& name);
std::string Narrow(const std::wstring& text);

// A file of `bytes` bytes with those attributes, replacing any; true once made.
bool MakeFile(const std::wstring& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL, DWORD bytes = 0);
bool Exists(const std::wstring& path);
// Gone, whatever it was: a read-only or hidden file, or an empty folder.
void Remove(const std::wstring& path);

}  // namespace testing_support
