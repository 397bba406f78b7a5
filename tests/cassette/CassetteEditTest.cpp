// Editing a cassette: deleting and renumbering, the selection after a delete, packing away
// deleted sound, delete all, renaming in place and the selector's lines.
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

Msg Numbered(Msg m, uint32_t number) {
  m.number = number;
  return m;
}

class CassetteEditTest : public test::CassetteTest {
 protected:
  std::string Open(Cassette& cassette, const std::vector<Msg>& messages) {
    std::string path = PathIn("edit.cst");
    test::WriteFile(path, MakeCassette(messages));
    EXPECT_EQ(cassette.OpenCassette(path), OpenOutcome::Opened);
    return path;
  }
};

TEST_F(CassetteEditTest, DeletingAnEntryMarksItAndRenumbersOnlyTheFollowingLiveEntries) {
  Cassette cassette(Env());
  std::string path = Open(cassette, {kAlpha, {65535, 10, 0x44}, kBravo, kCharlie});
  ASSERT_TRUE(cassette.DeleteEntry(1).ok());
  EXPECT_TRUE(SameBytes(test::ReadFile(path),
                        MakeCassette({Numbered(kAlpha, 65535), {65535, 10, 0x44},
                                      Numbered(kBravo, 1), Numbered(kCharlie, 2)})));
}

TEST_F(CassetteEditTest, DeletingTheLastMessageSelectsTheOneBeforeAndPacks) {
  Cassette cassette(Env());
  std::string path = Open(cassette, {kAlpha, kBravo, kCharlie});
  ASSERT_TRUE(cassette.SelectMessage(3).ok());
  ASSERT_TRUE(cassette.DeleteMessage().ok());
  EXPECT_TRUE(SameBytes(test::ReadFile(path), MakeCassette({kAlpha, kBravo})));
  EXPECT_EQ(cassette.MessageLabelText(), "2/2");
  EXPECT_EQ(cassette.MessageStart(), 100u);
  EXPECT_EQ(cassette.MessageEnd(), 150u);
  EXPECT_EQ(cassette.PlayPosition, 100u);
  EXPECT_EQ(cassette.CurrentNote(), "Bravo");
  EXPECT_FALSE(cassette.NextEnabled());
}

TEST_F(CassetteEditTest, DeletingAnEarlierMessageSelectsTheOneThatTakesItsNumber) {
  Cassette cassette(Env());
  std::string path = Open(cassette, {kAlpha, kBravo, kCharlie});
  ASSERT_TRUE(cassette.SelectMessage(2).ok());
  ASSERT_TRUE(cassette.DeleteMessage().ok());
  EXPECT_TRUE(SameBytes(test::ReadFile(path), MakeCassette({kAlpha, Numbered(kCharlie, 2)})));
  EXPECT_EQ(cassette.MessageLabelText(), "2/2");
  EXPECT_EQ(cassette.MessageEnd(), 170u);
  EXPECT_EQ(cassette.CurrentNote(), "Charlie");

  ASSERT_TRUE(cassette.SelectMessage(1).ok());
  ASSERT_TRUE(cassette.DeleteMessage().ok());
  EXPECT_TRUE(SameBytes(test::ReadFile(path), MakeCassette({Numbered(kCharlie, 1)})));
  EXPECT_EQ(cassette.MessageLabelText(), "1/1");
  EXPECT_EQ(cassette.MessageEnd(), 70u);
}

TEST_F(CassetteEditTest, DeletingTheOnlyMessageLeavesABlankCassette) {
  Cassette cassette(Env());
  std::string path = Open(cassette, {kAlpha});
  ASSERT_TRUE(cassette.DeleteMessage().ok());
  EXPECT_EQ(test::ReadFile(path), CassetteBuilder().Table().bytes());
  EXPECT_EQ(cassette.MessageLabelText(), "0/0");
  EXPECT_EQ(cassette.MessageEnd(), 0u);
  EXPECT_EQ(cassette.PlayPosition, 0u);
  EXPECT_EQ(cassette.CassettePath(), path);
  EXPECT_TRUE(cassette.DeleteMessage().ok());  // nothing left to delete: nothing changes
  EXPECT_EQ(test::ReadFile(path), CassetteBuilder().Table().bytes());
}

TEST_F(CassetteEditTest, PackKeepsOnlyLiveSoundAndReportsItsProgress) {
  Cassette cassette(Env());
  std::string path = Open(cassette, {kAlpha, {65535, 50, 0x44}, Numbered(kBravo, 2), {65535, 30, 0x55}});
  ASSERT_TRUE(cassette.SelectMessage(2).ok());
  std::vector<std::tuple<PackStage, uint64_t, uint64_t>> reports;
  ASSERT_TRUE(cassette.PackCassette([&](PackStage stage, uint64_t done, uint64_t total) {
    reports.emplace_back(stage, done, total);
  }).ok());
  Bytes packed = MakeCassette({kAlpha, kBravo});
  EXPECT_TRUE(SameBytes(test::ReadFile(path), packed));
  EXPECT_EQ(cassette.MessageStart(), 100u);
  EXPECT_EQ(cassette.MessageEnd(), 150u);
  EXPECT_EQ(cassette.PlayPosition, 100u);
  EXPECT_TRUE(test::FilesIn(TempFolder()).empty());
  EXPECT_EQ(test::FilesIn(CassettesFolder()), std::vector<std::string>{"edit.cst"});

  // Packing over the old sound area (230 bytes) first, then copying the packed file.
  ASSERT_FALSE(reports.empty());
  EXPECT_EQ(reports.front(), std::make_tuple(PackStage::Packing, uint64_t(0), uint64_t(230)));
  EXPECT_EQ(reports.back(), std::make_tuple(PackStage::Copying, packed.size(), packed.size()));
  EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
}

TEST_F(CassetteEditTest, DeleteAllEmptiesTheCassetteAndClearsItsInconsistency) {
  std::string path = PathIn("odd.cst");
  test::WriteFile(path, CassetteBuilder().Sound(100, 0x11).Table().Entry(1, 0, 100)
                            .Entry(kRecoveryNumber, 0, 0).bytes());
  Cassette cassette(Env());
  ASSERT_EQ(cassette.OpenCassette(path), OpenOutcome::Opened);
  ASSERT_TRUE(cassette.CassetteInconsistent());
  ASSERT_TRUE(cassette.DeleteAllMessages().ok());
  EXPECT_EQ(test::ReadFile(path), CassetteBuilder().Table().bytes());
  EXPECT_FALSE(cassette.CassetteInconsistent());
  EXPECT_EQ(cassette.MessageLabelText(), "0/0");
  EXPECT_EQ(cassette.CheckRecordStart(100.0), RecordStartCheck::Ok);
}

TEST_F(CassetteEditTest, RenamingRewritesOnlyThatNameFieldAndTheCurrentNote) {
  Cassette cassette(Env());
  std::string path = Open(cassette, {kAlpha, kBravo, kCharlie});
  Bytes expected = test::ReadFile(path);
  ASSERT_TRUE(cassette.RenameMessage(2, "Budget|Q3 100%").ok());
  Bytes name = test::NameField(kClockName + "|255%Budget Q3 100 ");
  std::copy(name.begin(), name.end(), expected.begin() + 220 + 8 + 140 + 12);
  EXPECT_TRUE(SameBytes(test::ReadFile(path), expected));
  EXPECT_EQ(cassette.CurrentNote(), "Alpha");  // message 1 stays current

  ASSERT_TRUE(cassette.RenameMessage(1, std::string(300, 'w')).ok());
  EXPECT_EQ(cassette.CurrentNote(), std::string(89, 'w'));
  EXPECT_EQ(test::Slice(test::ReadFile(path), 220 + 8 + 12, 128),
            test::NameField(kClockName + "|255%" + std::string(89, 'w')));
}

TEST_F(CassetteEditTest, SelectorListsLiveMessagesWithPlainNamesAndDurations) {
  Cassette cassette(Env());
  Open(cassette, {{1, 12 * 11025 + 500, 0x11, kClockName + "|255%Meeting"},
                  {65535, 3 * 11025, 0x22}, {2, 65 * 11025, 0x33}});
  EXPECT_EQ(cassette.SelectorLines(), (std::vector<std::string>{
                                          "1) 05.12.2026 14:03:59 Meeting (00:12)",
                                          "2) 05.12.2026 14:03:59 (01:05)"}));
  EXPECT_EQ(cassette.RemainingTimeHint(false), "08':43\" left for recording");
}

}  // namespace
}  // namespace kiv
