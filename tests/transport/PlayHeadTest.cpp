// The play head keeps itself inside the selected message whatever it is asked to do, and the
// counter's seconds are whole seconds rounded down.
#include <gtest/gtest.h>

#include "cassette/PlayHead.h"

namespace kiv {
namespace {

constexpr uint32_t kRate = 11025;
constexpr uint32_t kStart = 5000;

PlayHead HeadOver(uint32_t seconds) {
  PlayHead head;
  head.SetBaseRate(kRate);
  head.SelectMessage(kStart, kStart + seconds * kRate);
  return head;
}

TEST(PlayHead, EveryMoveStopsAtTheMessageBounds) {
  PlayHead head = HeadOver(3);
  head.Wind(2 * kRate);
  EXPECT_EQ(head.Position(), kStart + 2 * kRate);
  head.Wind(kRate / 2);
  head.Wind(kRate);  // less than a second was left: the head stops at the end, not before
  EXPECT_EQ(head.At(), head.MessageEnd());
  head.Wind(-10 * int64_t(kRate));
  EXPECT_EQ(head.At(), kStart);

  head.SeekTo(uint64_t(1) << 40);
  EXPECT_EQ(head.At(), head.MessageEnd());
  head.SeekTo(100);
  head.SetSegmentPlayed(10 * kRate);  // a device that reports more than the message holds
  EXPECT_EQ(head.At(), head.MessageEnd());
  EXPECT_EQ(head.Position(), kStart + 100);
  head.FoldPlayed();
  EXPECT_EQ(head.Position(), head.MessageEnd());
  EXPECT_EQ(head.SegmentPlayed(), 0u);

  // A damaged entry whose end lies before its start is an empty message at its start.
  head.SelectMessage(9000, 4000);
  head.Wind(kRate);
  EXPECT_EQ(head.At(), 9000u);
  EXPECT_EQ(head.Length(), 0u);
}

TEST(PlayHead, SecondsAreRoundedDownAndARateOfZeroDoesNotDivide) {
  PlayHead head;
  head.SetBaseRate(kRate);
  head.SelectMessage(kStart, kStart + 6 * kRate - 1);
  head.SeekTo(3 * kRate - 1);
  EXPECT_EQ(head.Seconds().length, 5u);
  EXPECT_EQ(head.Seconds().position, 2u);
  head.SetBaseRate(0);
  EXPECT_EQ(head.Seconds().position, 3 * kRate - 1);
}

TEST(PlayHead, SpeedStepsReturnToTheCassettesRate) {
  PlayHead head = HeadOver(3);
  head.SetPlayRate(15121);
  EXPECT_TRUE(head.OffSpeed());
  head.NormalSpeed();
  EXPECT_EQ(head.PlayRate(), kRate);
  EXPECT_FALSE(head.OffSpeed());
}

}  // namespace
}  // namespace kiv
