// Renaming, deleting and packing messages: the bytes on disk, which message is selected after,
// the progress a pack reports, and a pack that fails at any disk operation changing nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "CassetteTestSupport.h"

namespace kiv {
namespace {

using test::Bytes;
using test::CassetteBuilder;
using test::kClockName;
using test::MakeCassette;
using test::Msg;
using test::SameBytes;

const Msg kAlpha{1, 100, 0x11, kClockName + "|255%Alpha"};
const Msg kBravo{2, 50, 0x22, kClockName + "|255%Bravo"};
const Msg kCharlie{3, 70, 0x33, kClockName + "|255%Charlie"};

class CassetteEditTest : public test::CassetteTest {};

TEST_F(CassetteEditTest, DeletingRenumbersTheFollowingLiveEntriesAndSelectsTheOneInItsPlace) {
  Cassette cassette(Env());
  std::string path = Put(cassette, "edit.cst", MakeCassette({kAlpha, {65535, 10, 0x44}, kBravo, kCharlie}));
  ASSERT_TRUE(cassette.DeleteEntry(1).ok());
  EXPECT_TRUE(SameBytes(test::ReadFile(path), MakeCassette({{65535, 100, 0x11, kAlpha.name}, {65535, 10, 0x44},
                                                            {1, 50, 0x22, kBravo.name}, {2, 70, 0x33, kCharlie.name}})));
  // The last message: the one before it is selected.
  path = Put(cassette, "edit.cst", MakeCassette({kAlpha, kBravo, kCharlie}));
  ASSERT_TRUE(cassette.SelectMessage(3).ok());
  ASSERT_TRUE(cassette.DeleteMessage().ok());
  EXPECT_TRUE(SameBytes(test::ReadFile(path), MakeCassette({kAlpha, kBravo})));
  EXPECT_EQ(cassette.MessageLabelText(), "2/2");
  EXPECT_EQ(cassette.Head().Position(), 100u);
  // An earlier one: the next takes its number and is selected.
  ASSERT_TRUE(cassette.SelectMessage(1).ok());
  ASSERT_TRUE(cassette.DeleteMessage().ok());
  EXPECT_TRUE(SameBytes(test::ReadFile(path), MakeCassette({{1, 50, 0x22, kBravo.name}})));
  EXPECT_EQ(cassette.CurrentNote(), "Bravo");
  // The only one: a blank cassette is left, and deleting again changes nothing.
  ASSERT_TRUE(cassette.DeleteMessage().ok());
  ASSERT_TRUE(cassette.DeleteMessage().ok());
  EXPECT_EQ(test::ReadFile(path), CassetteBuilder().Table().bytes());
  EXPECT_EQ(cassette.MessageLabelText(), "0/0");
}

TEST_F(CassetteEditTest, FailureAtAnyStepOfAPackLeavesTheCassetteAsItWasAndNoFileBehind) {
  const Bytes original = MakeCassette({{1, 100, 0x11}, {65535, 50, 0x44}, {2, 50, 0x22}, {65535, 30, 0x55}});
  const Bytes packed = MakeCassette({{1, 100, 0x11}, {2, 50, 0x22}});
  const int failures = SweepFaults([&](test::FaultRun& run) {
    Cassette cassette(Env());
    const std::string path = Put(cassette, "pack.cst", original);
    ASSERT_TRUE(cassette.SelectMessage(2).ok());
    const Status status = run.Faulted([&] { return cassette.PackCassette(); });
    EXPECT_EQ(status.ok(), !run.Fired());
    EXPECT_TRUE(SameBytes(test::ReadFile(path), status.ok() ? packed : original));
    EXPECT_EQ(cassette.MessageStart(), status.ok() ? 100u : 150u);
    EXPECT_EQ(test::FilesIn(CassettesFolder()), std::vector<std::string>{"pack.cst"});
    EXPECT_TRUE(test::FilesIn(TempFolder()).empty());
  });
  EXPECT_GE(failures, 4);  // the new file is created, written, synced and renamed into place
}

TEST_F(CassetteEditTest, PackKeepsOnlyLiveSoundCopiesMessagesLargerThanAChunkWholeAndReportsProgress) {
  auto pattern = [](size_t size, uint8_t salt) {
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = uint8_t((i * 7 + salt) % 251);
    return bytes;
  };
  // A short first message, then one of more than two chunks: the copy buffer must grow.
  const Bytes a = pattern(1000, 1), b = pattern(kCopyChunk - 1, 2), c = pattern(2 * kCopyChunk + 1, 3);
  const uint32_t la = uint32_t(a.size()), lb = uint32_t(b.size()), lc = uint32_t(c.size());
  Cassette cassette(Env());
  const std::string path = Put(cassette, "big.cst", CassetteBuilder().Raw(a).Raw(b).Raw(c).Table()
      .Entry(1, 0, la, kAlpha.name).Entry(65535, la, la + lb).Entry(2, la + lb, la + lb + lc, kBravo.name).bytes());
  std::vector<std::tuple<PackStage, uint64_t, uint64_t>> reports;
  ASSERT_TRUE(cassette.PackCassette([&](PackStage stage, uint64_t done, uint64_t total) {
    reports.emplace_back(stage, done, total);
  }).ok());
  const Bytes packed =
      CassetteBuilder().Raw(a).Raw(c).Table().Entry(1, 0, la, kAlpha.name).Entry(2, la, la + lc, kBravo.name).bytes();
  EXPECT_TRUE(SameBytes(test::ReadFile(path), packed));
  // Packing over the old sound area, chunk by chunk, then the table, the sync and the swap.
  ASSERT_GT(reports.size(), 4u);
  EXPECT_EQ(reports.front(), std::make_tuple(PackStage::Packing, uint64_t(0), uint64_t(la + lb + lc)));
  EXPECT_EQ(reports.back(), std::make_tuple(PackStage::Copying, packed.size(), packed.size()));
  EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
}

TEST_F(CassetteEditTest, RenamingRewritesOnlyThatNameFieldAndTheCurrentNote) {
  Cassette cassette(Env());
  const std::string path = Put(cassette, "edit.cst", MakeCassette({kAlpha, kBravo, kCharlie}));
  ASSERT_TRUE(cassette.RenameMessage(2, "Budget|Q3 100%").ok());
  const Msg renamed{2, 50, 0x22, kClockName + "|255%Budget Q3 100 "};
  EXPECT_TRUE(SameBytes(test::ReadFile(path), MakeCassette({kAlpha, renamed, kCharlie})));
  EXPECT_EQ(cassette.CurrentNote(), "Alpha");  // message 1 stays current
  ASSERT_TRUE(cassette.RenameMessage(1, "Plan").ok());
  EXPECT_EQ(cassette.CurrentNote(), "Plan");
}

}  // namespace
}  // namespace kiv
