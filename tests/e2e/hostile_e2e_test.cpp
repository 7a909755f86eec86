// The real postlark.exe started with hostile values in every registry key: it
// must come up, show defined values and still catch mail.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/options_layout.h"
#include "settings/options.h"
#include "support/paths.h"
#include "support/process.h"
#include "support/pump.h"
#include "support/registry.h"
#include "support/screenshot.h"
#include "support/stand_in.h"

using namespace testing_support;
using namespace app;

namespace {

struct Hostile {
  const char* name;
  std::wstring value;
};

class HostileRegistry : public ::testing::TestWithParam<Hostile> {};

TEST_P(HostileRegistry, StartsAndStillCatchesMail) {
  ClearOptions();
  for (const settings::OptionRow& row : settings::OptionTable()) SetOption(row.key, GetParam().value);
  // Watch the envelope, whatever the stored FileDetect says.
  SetOption(L"FileDetect", L"0");
  PostlarkProcess postlark;
  ASSERT_TRUE(postlark.Started()) << GetParam().name;
  StandInOutlook outlook;
  ASSERT_TRUE(outlook.AddEnvelope());
  EXPECT_TRUE(PumpUntil([&] { return !outlook.HasEnvelope(); }, kCheckDeadlineMs)) << GetParam().name;
  PumpFor(1500);  // the alert runs with whatever clip and loop text it was given
  EXPECT_TRUE(postlark.Running()) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    EveryKey, HostileRegistry,
    // Values of no use as a number or a path; how each key reads them is the
    // unit tests' business.
    ::testing::Values(Hostile{"Empty", L""}, Hostile{"Huge", std::wstring(100000, L'7')},
                      Hostile{"Devices", L"CON"}),
    [](const ::testing::TestParamInfo<Hostile>& info) { return std::string(info.param.name); });

}  // namespace
