// The pieces of the format on their own: message names, the capacity arithmetic, the backward
// table search (in memory and through a file read in blocks), table and sidecar reading.
#include <gtest/gtest.h>

#include "CassetteTestSupport.h"
#include "cassette/Capacity.h"
#include "cassette/Sidecar.h"

namespace kiv {
namespace {

using test::Bytes;
using test::CassetteBuilder;
using test::kClockName;

TEST(MessageName, FieldsCutLongTextsAndNotesNeedExactlyThreeTags) {
  const auto field = EncodeNameField(std::string(200, 'x'));
  EXPECT_EQ(Bytes(field.begin(), field.end()), test::NameField(std::string(123, 'x')));
  std::array<uint8_t, kNameSize> noCr{};
  noCr.fill('z');  // no CR: the text stops before the terminator's place
  EXPECT_EQ(NameTextOfField(noCr), std::string(124, 'z'));
  EXPECT_EQ(NoteOf(kClockName + "|255%Meeting|255%Again"), "");
  EXPECT_EQ(RenamedNameText(kClockName, std::string(200, 'n'), "255%"), kClockName + "|255%" + std::string(89, 'n'));
  // Line breaks of every platform: one blank each, so nothing after them is lost.
  EXPECT_EQ(RenamedNameText(kClockName, "Call Ann\r\nthen Bob\rand\nCy\r\n", "255%"),
            kClockName + "|255%Call Ann then Bob and Cy ");
}

TEST(Capacity, TenMinutesAndTheStartAndRunningChecks) {
  EXPECT_EQ(RemainingTimeText(599 * 11025 + 11024, 11025), "00':01\" left for recording");
  EXPECT_EQ(RemainingTimeText(7000000, 11025), "00':00\" left for recording");
  auto decide = [](bool inconsistent, uint64_t length, double freeMiB, uint64_t entries) {
    return DecideRecordStart({inconsistent, length, RecordCapacity(11025), freeMiB, entries});
  };
  EXPECT_EQ(decide(false, 6615000, 6.0, 497), RecordStartCheck::Ok);
  EXPECT_EQ(decide(false, 6615001, 100, 3), RecordStartCheck::CapacityFull);
  EXPECT_EQ(decide(false, 1000, 100, 498), RecordStartCheck::CapacityFull);
  EXPECT_EQ(decide(false, 1000, 5.9, 3), RecordStartCheck::NotEnoughSpace);
  EXPECT_EQ(decide(true, 7000000, 1.0, 498), RecordStartCheck::Inconsistent);
  EXPECT_EQ(DecideRunningRecording(1.0, 6615000, 6615000), RunningCheck::Ok);
  EXPECT_EQ(DecideRunningRecording(0.99, 7000000, 6615000), RunningCheck::LowDisk);
}

class TableSearchTest : public test::CassetteTest {
 protected:
  // The bounded search over `bytes` in memory and through a file; both must agree.
  std::optional<uint64_t> Find(const Bytes& bytes) {
    test::WriteFile(PathIn("search.cst"), bytes);
    std::unique_ptr<File> file;
    EXPECT_TRUE(FileSystem::Default().Open(PathIn("search.cst"), File::Mode::ReadOnly, &file).ok());
    auto inMemory = FindTableMarker(bytes.data(), bytes.size(), TableSearch::Bounded);
    EXPECT_EQ(FindTableMarker(*file, bytes.size(), TableSearch::Bounded), inMemory);
    EXPECT_TRUE(FindTableMarker(*file, bytes.size(), TableSearch::Unbounded).has_value());
    return inMemory;
  }
};

TEST_F(TableSearchTest, MarkerIsFoundUpToTheEdgeOfTheSpanAndAcrossReadBlocks) {
  // The search reaches exactly kTableSearchSpan bytes back from the end, not one byte more.
  for (uint64_t back : {kTableSearchSpan, kTableSearchSpan + 1}) {
    EXPECT_EQ(Find(CassetteBuilder().Sound(100, 0x20).Table().Sound(back - 8, 0x20).bytes()),
              back == kTableSearchSpan ? std::optional<uint64_t>(100) : std::nullopt);
  }
  // The file is read backwards in 65536-byte blocks: a marker straddling a block boundary, at
  // each of its three offsets, is still found.
  for (uint64_t split : {1u, 2u, 3u}) {
    EXPECT_EQ(Find(CassetteBuilder().Sound(200, 0x20).Table().Sound(65531 + split, 0x20).bytes()), 200u) << split;
  }
  // The last marker wins, even when sound holds marker bytes just before it.
  EXPECT_EQ(Find(CassetteBuilder().Sound(10, 0x20).Table().Sound(9, 0x20).Sound(1, 0xFE).Table().bytes()), 28u);
}

TEST(TableRead, EntriesAPartialTailDamagedRangesAndSidecars) {
  Bytes bytes = CassetteBuilder().Sound(30, 0x11).Table(22050).Entry(65535, 0, 10).Entry(1, 10, 20)
                    .Entry(2, 20, 31).Entry(100000, 0, 0).Sound(50, 0x33).bytes();
  MessageTable table;
  ASSERT_TRUE(ReadTableFromBytes(bytes.data(), bytes.size(), 30, &table));
  ASSERT_EQ(table.entries.size(), 4u);
  EXPECT_EQ(table.trailingBytes, 50u);
  EXPECT_TRUE(table.EntryRangeDamaged(*table.FindLive(2)));
  EXPECT_EQ(table.SoundEnd(*table.FindLive(2)), 30u);
  EXPECT_FALSE(ReadTableFromBytes(bytes.data(), bytes.size(), bytes.size() - 4, &table));
  // A sidecar is the old table plus an open entry.
  Bytes sidecar = CassetteBuilder().Table().Entry(1, 0, 100).Entry(2, 100, kOpenEnd).bytes();
  SidecarContent content;
  ASSERT_TRUE(ParseSidecar(sidecar, &content));
  EXPECT_EQ(content.openStart, 100u);
  // Sound before the table, no open entry, the open entry cut short, a bad rate, nothing at all.
  for (const Bytes& bad : {CassetteBuilder().Sound(4, 1).Table().Entry(1, 0, kOpenEnd).bytes(),
                           CassetteBuilder().Table().Entry(1, 0, 100).bytes(), test::Slice(sidecar, 0, 156),
                           CassetteBuilder().Table(8000).Entry(1, 0, kOpenEnd).bytes(), Bytes{}}) {
    EXPECT_FALSE(ParseSidecar(bad, &content)) << bad.size();
  }
}

}  // namespace
}  // namespace kiv
