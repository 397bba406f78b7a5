// The ten-minute capacity: its bytes, the remaining-time text and the checks that refuse a
// recording, as arithmetic and on real cassettes.
#include <gtest/gtest.h>

#include "CassetteTestSupport.h"
#include "cassette/Capacity.h"

namespace kiv {
namespace {

using test::MakeCassette;

TEST(Capacity, TenMinutesAt11025HzAre6615000BytesWithASixMiBStartMargin) {
  EXPECT_EQ(RecordCapacity(11025), 6615000u);
  EXPECT_EQ(StartMarginMiB(RecordCapacity(11025)), 6u);
  EXPECT_DOUBLE_EQ(BytesToMiB(3 * 1048576 / 2), 1.5);
}

TEST(Capacity, RemainingTimeIsTenMinutesLessTheWholeSecondsUsed) {
  EXPECT_EQ(RemainingTimeText(0, 11025), "10':00\" left for recording");
  EXPECT_EQ(RemainingTimeText(1488375, 11025), "07':45\" left for recording");
  EXPECT_EQ(RemainingTimeText(599 * 11025 + 11024, 11025), "00':01\" left for recording");
  EXPECT_EQ(RemainingTimeText(2 * 1488375, 22050), "07':45\" left for recording");
  EXPECT_EQ(RemainingTimeText(7000000, 11025), "00':00\" left for recording");
}

TEST(Capacity, RecordStartIsRefusedForInconsistencyThenCapacityThenDiskSpace) {
  auto decide = [](bool inconsistent, uint64_t length, double freeMiB, uint64_t entries) {
    return DecideRecordStart({inconsistent, length, 6615000, freeMiB, entries});
  };
  EXPECT_EQ(decide(false, 6615000, 6.0, 497), RecordStartCheck::Ok);
  EXPECT_EQ(decide(false, 6615001, 100, 3), RecordStartCheck::CapacityFull);
  EXPECT_EQ(decide(false, 1000, 5.9, 3), RecordStartCheck::NotEnoughSpace);
  // Room is kept for the new entry and a possible recovery entry: 500 entries are never written.
  EXPECT_EQ(decide(false, 1000, 100, 498), RecordStartCheck::CapacityFull);
  EXPECT_EQ(decide(false, 7000000, 1.0, 3), RecordStartCheck::CapacityFull);
  EXPECT_EQ(decide(true, 7000000, 1.0, 498), RecordStartCheck::Inconsistent);
}

TEST(Capacity, RunningRecordingStopsOnLowDiskFirstThenOnCapacity) {
  EXPECT_EQ(DecideRunningRecording(1.0, 6615000, 6615000), RunningCheck::Ok);
  EXPECT_EQ(DecideRunningRecording(100.0, 6615001, 6615000), RunningCheck::CapacityFull);
  EXPECT_EQ(DecideRunningRecording(0.99, 1000, 6615000), RunningCheck::LowDisk);
  EXPECT_EQ(DecideRunningRecording(0.5, 7000000, 6615000), RunningCheck::LowDisk);
}

class CapacityOnDiskTest : public test::CassetteTest {};

TEST_F(CapacityOnDiskTest, FileOf6615001BytesOrA498EntryTableRefusesAndOneOf6615000Starts) {
  std::string path = PathIn("full.cst");
  for (uint32_t length : {6615000u, 6615001u}) {
    test::WriteFile(path, MakeCassette({{1, length - 148, 0x11}}));
    Cassette cassette(Env());
    ASSERT_EQ(cassette.OpenCassette(path), OpenOutcome::Opened);
    bool fits = length == 6615000;
    EXPECT_EQ(cassette.CheckRecordStart(100.0), fits ? RecordStartCheck::Ok : RecordStartCheck::CapacityFull);
    EXPECT_EQ(cassette.CheckRunningRecording(100.0), fits ? RunningCheck::Ok : RunningCheck::CapacityFull);
    if (fits) {
      EXPECT_EQ(cassette.CheckRecordStart(5.9), RecordStartCheck::NotEnoughSpace);
    }
  }
  // Deleted entries take room in the table too.
  for (uint32_t entries : {497u, 498u}) {
    test::CassetteBuilder b;
    b.Sound(entries, 0x40).Table();
    for (uint32_t i = 0; i < entries; ++i) b.Entry(i % 2 == 0 ? 65535 : i / 2 + 1, i, i + 1);
    test::WriteFile(path, b.bytes());
    Cassette cassette(Env());
    ASSERT_EQ(cassette.OpenCassette(path), OpenOutcome::Opened);
    EXPECT_EQ(cassette.CheckRecordStart(100.0),
              entries == 497 ? RecordStartCheck::Ok : RecordStartCheck::CapacityFull);
  }
}

TEST_F(CapacityOnDiskTest, RemainingTimeCountsOnlyLiveMessages) {
  std::string path = PathIn("used.cst");
  test::WriteFile(path, MakeCassette({{1, 1000000, 0x11}, {65535, 200000, 0x22}, {2, 488375, 0x33}}));
  Cassette cassette(Env());
  ASSERT_EQ(cassette.OpenCassette(path), OpenOutcome::Opened);
  EXPECT_EQ(cassette.RemainingTimeHint(false), "07':45\" left for recording");
}

}  // namespace
}  // namespace kiv
