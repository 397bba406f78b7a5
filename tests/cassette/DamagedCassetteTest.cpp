// Damaged cassettes and sidecars: whatever a table or sidecar claims, opening, selecting and
// listing stay inside the file, and the sound on disk is not thrown away.
#include <gtest/gtest.h>

#include "CassetteTestSupport.h"
#include "cassette/CassetteReport.h"

namespace kiv {
namespace {

using test::Bytes;
using test::CassetteBuilder;
using test::MakeCassette;

class DamagedCassetteTest : public test::CassetteTest {
 protected:
  // The selected message lies in the sound area of the file the cassette now has open.
  void ExpectSelectionInsideFile(const Cassette& cassette) {
    uint64_t length = FileSize(cassette.CassettePath());
    EXPECT_LE(cassette.MessageStart(), cassette.MessageEnd());
    EXPECT_LE(cassette.MessageEnd(), length);
    EXPECT_LE(cassette.PlayPosition, length);
    CassetteReport report;
    if (InspectCassette(FileSystem::Default(), cassette.CassettePath(), &report).ok() && report.table) {
      EXPECT_LE(cassette.MessageEnd(), report.table->pos);
    }
  }

  // Opens `bytes` (with `sidecar` beside it unless empty), walks the messages and the list.
  std::pair<OpenOutcome, std::string> OpenAndWalk(const std::string& path, const Bytes& bytes,
                                                  const Bytes& sidecar) {
    test::WriteFile(path, bytes);
    RemoveFile(Cassette::SidecarPathFor(path));
    if (!sidecar.empty()) test::WriteFile(Cassette::SidecarPathFor(path), sidecar);
    Cassette cassette(Env());
    OpenOutcome outcome = cassette.OpenCassette(path);
    ExpectSelectionInsideFile(cassette);
    for (uint32_t k = 1; k <= std::min(cassette.MessageCount(), 8u); ++k) {
      (void)cassette.SelectMessage(k);  // a damaged entry may be refused
      ExpectSelectionInsideFile(cassette);
    }
    for (const std::string& line : cassette.SelectorLines()) EXPECT_EQ(line.find('\r'), std::string::npos);
    cassette.RemainingTimeHint(false);
    return {outcome, cassette.LastBackupPath()};
  }
};

TEST_F(DamagedCassetteTest, DamagedEntriesAreSelectedWithinTheSoundArea) {
  Bytes noCr(128, 'q');
  std::fill(noCr.begin() + 124, noCr.end(), 0xFC);
  std::string path = PathIn("damaged.cst");
  test::WriteFile(path, CassetteBuilder().Sound(100, 0x11).Table()
                            .Entry(1, 0, 0xFFFFFFF0u)  // beyond the file
                            .Entry(2, 80, 20)          // ends before it starts
                            .EntryWithField(3, 0xFFFFFF00u, 0xFFFFFFFFu, noCr)
                            .Sound(70, 0x20)           // a partial entry
                            .bytes());
  Cassette cassette(Env());
  ASSERT_EQ(cassette.OpenCassette(path), OpenOutcome::Opened);
  EXPECT_EQ(cassette.MessageCount(), 3u);
  ExpectSelectionInsideFile(cassette);
  for (uint32_t k : {2u, 3u}) {
    EXPECT_TRUE(cassette.SelectMessage(k).ok());
    EXPECT_EQ(cassette.CurrentMessage(), k);
    ExpectSelectionInsideFile(cassette);
  }
  std::vector<std::string> lines = cassette.SelectorLines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_TRUE(lines[2].starts_with("3) " + std::string(124, 'q') + " (")) << lines[2];

  // A pack of such a table leaves a cassette that still opens with the same messages.
  EXPECT_TRUE(cassette.PackCassette().ok());
  cassette.CloseStream();
  Cassette reopened(Env());
  EXPECT_EQ(reopened.OpenCassette(path), OpenOutcome::Opened);
  EXPECT_EQ(reopened.MessageCount(), 3u);
  ExpectSelectionInsideFile(reopened);
}

TEST_F(DamagedCassetteTest, RecordingOntoATableWithAPartialEntryKeepsTheNewMessageFindable) {
  std::string path = PathIn("partial.cst");
  Bytes old = CassetteBuilder().Sound(100, 0x11).Table().Entry(1, 0, 100).Sound(30, 0x20).bytes();
  test::WriteFile(path, old);
  Cassette cassette(Env());
  ASSERT_EQ(cassette.OpenCassette(path), OpenOutcome::Opened);
  if (!cassette.BeginRecording().ok()) {  // refusing is fine, as long as nothing changed
    EXPECT_EQ(test::ReadFile(path), old);
    return;
  }
  Bytes sound(300, 0x22);
  ASSERT_TRUE(cassette.WriteSound(sound.data(), sound.size()).ok());
  ASSERT_TRUE(cassette.EndRecording(true).ok());
  cassette.CloseStream();
  Cassette reopened(Env());
  ASSERT_EQ(reopened.OpenCassette(path), OpenOutcome::Opened);
  EXPECT_FALSE(reopened.CassetteInconsistent());
  ASSERT_EQ(reopened.MessageCount(), 2u);
  ASSERT_TRUE(reopened.SelectMessage(2).ok());
  EXPECT_EQ(reopened.MessageStart(), 100u);
  EXPECT_EQ(reopened.MessageEnd(), 400u);
}

TEST_F(DamagedCassetteTest, FlippedOrCutTableBytesNeverLeadReadersOutsideTheFile) {
  Bytes good = MakeCassette({{1, 100, 0x11, test::kClockName + "|255%Alpha"}, {65535, 50, 0x22},
                             {2, 70, 0x33}});
  const size_t tablePos = 220;
  std::string path = PathIn("mutant.cst");
  for (size_t offset = tablePos; offset < good.size() && !HasFailure(); ++offset) {
    for (uint8_t mask : {uint8_t(0xFF), uint8_t(0x01)}) {
      SCOPED_TRACE("flip " + std::to_string(mask) + " at " + std::to_string(offset));
      OpenAndWalk(path, test::Flipped(good, offset, mask), {});
    }
  }
  for (size_t length = tablePos; length < good.size() && !HasFailure(); ++length) {
    SCOPED_TRACE("cut at " + std::to_string(length));
    OpenAndWalk(path, test::Truncated(good, length), {});
  }
}

TEST_F(DamagedCassetteTest, DamagedSidecarNeverLeadsRecoveryOutsideTheFileNorDropsTheSound) {
  Bytes crashed = CassetteBuilder().Sound(100, 0x11).Sound(300, 0x22).bytes();
  Bytes sidecar = CassetteBuilder().Table().Entry(1, 0, 100).Entry(2, 100, kOpenEnd).bytes();
  std::string path = PathIn("crashed.cst");
  auto check = [&](const Bytes& damaged) {
    auto [outcome, backup] = OpenAndWalk(path, crashed, damaged);
    // The sound that reached the disk is still there, in the cassette or in a backup of it.
    Bytes now = test::ReadFile(path);
    EXPECT_TRUE((now.size() >= crashed.size() && test::Slice(now, 0, crashed.size()) == crashed) ||
                (!backup.empty() && test::ReadFile(backup) == crashed));
    if (outcome == OpenOutcome::Recovered) {
      // The table appended holds whole entries, so the recovery entry keeps the cassette
      // inconsistent at the next open.
      Cassette later(Env());
      EXPECT_EQ(later.OpenCassette(path), OpenOutcome::Opened);
      EXPECT_TRUE(later.CassetteInconsistent());
      CassetteReport report;
      EXPECT_TRUE(InspectCassette(FileSystem::Default(), path, &report).ok() && report.table &&
                  report.table->trailingBytes == 0);
    }
  };
  for (size_t offset = 0; offset < sidecar.size() && !HasFailure(); ++offset) {
    SCOPED_TRACE("flip at " + std::to_string(offset));
    check(test::Flipped(sidecar, offset, 0xFF));
  }
  for (size_t length = 1; length < sidecar.size() && !HasFailure(); ++length) {
    SCOPED_TRACE("cut at " + std::to_string(length));
    check(test::Truncated(sidecar, length));
  }
}

}  // namespace
}  // namespace kiv
