#pragma once
// Where the build under test and its test data are.
#include <string>

namespace testing_support {

std::wstring Env(const wchar_t* name);
// A path from the Unix side ("/work/x") as Wine names it ("Z:\\work\\x").
std::wstring WinPath(std::wstring path);
// From the environment when set, else from the folder ctest runs the tests
// in (build/<arch>/tests).
std::wstring PostlarkExe();
std::wstring StandInExe();
std::wstring TestDataFolder();
// Folder for this test's files (created), under the test data folder.
std::wstring TestFolder(const std::wstring& name);
std::string Narrow(const std::wstring& text);

}  // namespace testing_support
