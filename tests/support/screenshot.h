#pragma once
// Screenshots of the whole (virtual) screen, kept for a failing test.
#include <gtest/gtest.h>

#include <string>

namespace testing_support {

bool SaveScreenshot(const std::wstring& path);

// For an end-to-end fixture: a screenshot in testdata/screenshots when the
// test failed, named after the fixture.
class ScreenshotOnFailure : public ::testing::Test {
 protected:
  void TearDown() override;
};

}  // namespace testing_support
