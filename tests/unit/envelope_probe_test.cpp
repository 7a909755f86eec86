// The envelope probe's walk over a scripted desktop.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fakes.h"
#include "watch/envelope_probe.h"

namespace {

using testing_support::FakeDesktop;

TEST(EnvelopeProbe, RemovesTheEnvelopeOfAnUntitledOutlookWindowAndSends1031) {
  FakeDesktop desktop({{"Inbox - Outlook", "rctrl_renwnd32", false},
                       {"", "", false},  // closed during the walk: reads as nothing
                       {"", "rctrl_renwnd32", true}});
  EXPECT_TRUE(watch::TakeEnvelope(desktop));
  EXPECT_EQ(desktop.deletes, (std::vector<size_t>{2}));
  ASSERT_EQ(desktop.sent.size(), 1u);
  EXPECT_EQ(desktop.sent[0], (std::pair<size_t, UINT>{2, 1031}));
  EXPECT_FALSE(desktop.At(FakeDesktop::Handle(2)).envelope);
}

TEST(EnvelopeProbe, CandidatesAreChosenByLabelTitleFirstCaseSensitive) {
  FakeDesktop desktop({{"Titled", "rctrl_renwnd32", true},         // titled: its label is the title
                       {"", "RCTRL_RENWND32", true},               // other case
                       {"", "rctrl_renwnd32x", true},              // longer
                       {"rctrl_renwnd32", "SomethingElse", true}});  // titled exactly so: a candidate
  EXPECT_TRUE(watch::TakeEnvelope(desktop));
  EXPECT_EQ(desktop.deletes, (std::vector<size_t>{3}));
}

TEST(EnvelopeProbe, FailedDeleteGoesOnAndFirstSuccessEndsTheWalk) {
  FakeDesktop desktop({{"", "rctrl_renwnd32", false},
                       {"", "rctrl_renwnd32", true},
                       {"", "rctrl_renwnd32", true}});
  EXPECT_TRUE(watch::TakeEnvelope(desktop));
  EXPECT_EQ(desktop.deletes, (std::vector<size_t>{0, 1}));
  ASSERT_EQ(desktop.sent.size(), 1u);
  EXPECT_EQ(desktop.sent[0].first, 1u);
  EXPECT_TRUE(desktop.At(FakeDesktop::Handle(2)).envelope) << "later windows untouched this tick";
}

TEST(EnvelopeProbe, LabelsOfAnyLengthAreSafe) {
  const std::string huge(40000, 'x');
  FakeDesktop desktop({{huge, "rctrl_renwnd32", true}});
  EXPECT_EQ(watch::WindowLabel(desktop, FakeDesktop::Handle(0)), huge);
  EXPECT_FALSE(watch::TakeEnvelope(desktop));
}

}  // namespace
