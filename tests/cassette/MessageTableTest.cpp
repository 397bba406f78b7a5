// Finding and reading the message table, and reading a recording sidecar.
#include <gtest/gtest.h>

#include "CassetteTestSupport.h"
#include "cassette/MessageTable.h"
#include "cassette/Sidecar.h"

namespace kiv {
namespace {

using test::Bytes;
using test::CassetteBuilder;

class TableSearchTest : public test::CassetteTest {};

TEST_F(TableSearchTest, TableOf499EntriesIsFoundAndOneOf500IsNot) {
  for (uint32_t count : {499u, 500u}) {
    SCOPED_TRACE(count);
    CassetteBuilder b;
    b.Sound(count, 0x40).Table();
    for (uint32_t i = 0; i < count; ++i) b.Entry(i + 1, i, i + 1);
    std::string path = PathIn("big.cst");
    test::WriteFile(path, b.bytes());
    std::unique_ptr<File> file;
    ASSERT_TRUE(FileSystem::Default().Open(path, File::Mode::ReadOnly, &file).ok());

    auto inMemory = FindTableMarker(b.bytes().data(), b.size(), TableSearch::Bounded);
    EXPECT_EQ(FindTableMarker(*file, file->Length(), TableSearch::Bounded), inMemory);
    if (count == 499) {
      ASSERT_EQ(inMemory, 499u);
      MessageTable table;
      ASSERT_TRUE(ReadTableFromFile(*file, 499, file->Length(), &table));
      EXPECT_EQ(table.LiveCount(), 499u);
    } else {
      EXPECT_FALSE(inMemory.has_value());
    }
    // Without the bound the marker is found either way.
    EXPECT_EQ(FindTableMarker(*file, file->Length(), TableSearch::Unbounded), count);
  }
}

TEST(TableSearch, TheLastMarkerWinsEvenWhenTheSoundHoldsMarkerBytes) {
  // FE bytes inside the sound, and one FE right before the marker: FE FE FE FE FE.
  Bytes bytes = CassetteBuilder().Sound(10, 0x20).U32(0xFEFEFEFE).Sound(9, 0x20).Sound(1, 0xFE)
                    .Table().Entry(1, 0, 24).bytes();
  EXPECT_EQ(FindTableMarker(bytes.data(), bytes.size(), TableSearch::Bounded), 24u);
  Bytes tiny = {0xFE, 0xFE, 0xFE};
  EXPECT_FALSE(FindTableMarker(tiny.data(), tiny.size(), TableSearch::Unbounded).has_value());
}

TEST(TableRead, CountSkipsDeletedEntriesAndAPartialEntryIsOnlyReported) {
  Bytes bytes = CassetteBuilder().Sound(30, 0x11).Table(22050)
                    .Entry(65535, 0, 10).Entry(1, 10, 20).Entry(2, 20, 30).Sound(50, 0x33).bytes();
  MessageTable table;
  ASSERT_TRUE(ReadTableFromBytes(bytes.data(), bytes.size(), 30, &table));
  EXPECT_EQ(table.rate, 22050u);
  ASSERT_EQ(table.entries.size(), 3u);
  EXPECT_EQ(table.trailingBytes, 50u);
  EXPECT_EQ(table.LiveCount(), 2u);
  EXPECT_FALSE(table.HasInconsistentNumber());
  ASSERT_TRUE(table.FirstLive() != nullptr && table.FindLive(2) != nullptr);
  EXPECT_EQ(table.FirstLive()->start, 10u);
  EXPECT_EQ(table.FindLive(2)->end, 30u);
  EXPECT_EQ(table.FindLive(3), nullptr);
  // Marker and rate must fit after the position.
  EXPECT_FALSE(ReadTableFromBytes(bytes.data(), bytes.size(), bytes.size() - 4, &table));
}

TEST(TableRead, OddNumbersAndRangesOutsideTheSoundAreaAreReportedAsDamage) {
  Bytes bytes = CassetteBuilder().Sound(30, 0x11).Table().Entry(1, 0, 30).Entry(2, 20, 10)
                    .Entry(3, 0, 31).Entry(4, 0xFFFFFFF0u, 0xFFFFFFFFu).Entry(65536, 0, 0).bytes();
  MessageTable table;
  ASSERT_TRUE(ReadTableFromBytes(bytes.data(), bytes.size(), 30, &table));
  std::vector<bool> damaged;
  for (const MessageEntry& entry : table.entries) damaged.push_back(table.EntryRangeDamaged(entry));
  EXPECT_EQ(damaged, (std::vector<bool>{false, true, true, true, false}));
  EXPECT_TRUE(table.HasInconsistentNumber());
  EXPECT_EQ(table.LiveCount(), 4u);
}

TEST(SidecarParse, SidecarIsTheOldTablePlusAnOpenEntry) {
  Bytes sidecar = CassetteBuilder().Table().Entry(1, 0, 100).Entry(2, 100, kOpenEnd).bytes();
  SidecarContent content;
  ASSERT_TRUE(ParseSidecar(sidecar, &content));
  EXPECT_EQ(content.table.entries.size(), 2u);
  EXPECT_EQ(content.openEndOffset, 8u + 140u + 8u);
  EXPECT_EQ(content.openStart, 100u);
  EXPECT_EQ(content.oldTableSize, 148u);

  // Not sidecars: sound before the marker, no open entry, cut before the open end, a bad rate.
  Bytes withSound = CassetteBuilder().Sound(4, 1).Table().Entry(1, 0, kOpenEnd).bytes();
  Bytes closed = CassetteBuilder().Table().Entry(1, 0, 100).bytes();
  Bytes badRate = CassetteBuilder().Table(8000).Entry(1, 0, kOpenEnd).bytes();
  for (const Bytes& bad : {withSound, closed, test::Truncated(sidecar, 156), badRate, Bytes{}}) {
    EXPECT_FALSE(ParseSidecar(bad, &content)) << bad.size();
  }
}

}  // namespace
}  // namespace kiv
