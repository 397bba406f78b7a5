// Recording onto a cassette, and getting an interrupted recording back: the bytes of the sound,
// the table written back and the new entry; the sidecar while recording; recovery after a crash
// at any moment, including while the table was being written back.
#include <gtest/gtest.h>

#include <filesystem>

#include "CassetteTestSupport.h"

namespace kiv {
namespace {

using test::Bytes;
using test::CassetteBuilder;
using test::kClockName;
using test::MakeCassette;
using test::SameBytes;
using test::Slice;

class CassetteRecordingTest : public test::CassetteTest {
 protected:
  // What a crash leaves on disk at this moment: the cassette and its sidecar, copied elsewhere.
  std::string CrashCopy(const std::string& path) {
    std::string folder = root_ + "crash/";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directory(folder);
    std::string copy = folder + std::filesystem::path(path).filename().string();
    test::WriteFile(copy, test::ReadFile(path));
    std::string sidecar = Cassette::SidecarPathFor(path);
    if (FileExists(sidecar)) test::WriteFile(Cassette::SidecarPathFor(copy), test::ReadFile(sidecar));
    return copy;
  }

  void Record(Cassette& cassette, const Bytes& sound, bool autoRewind) {
    ASSERT_TRUE(cassette.BeginRecording().ok());
    ASSERT_TRUE(cassette.WriteSound(sound.data(), sound.size()).ok());
    ASSERT_TRUE(cassette.EndRecording(autoRewind).ok());
  }
};

TEST_F(CassetteRecordingTest, RecordingOnABlankCassetteGivesSoundMarkerRateAndOneEntry) {
  std::string path = PathIn("rec.cst");
  EXPECT_EQ(Cassette::SidecarPathFor(path), PathIn("rec.zf"));
  Cassette cassette(Env());
  ASSERT_TRUE(cassette.CreateBlankCassette(path).ok());
  EXPECT_EQ(cassette.MessageLabelText(), "0/0");
  ASSERT_TRUE(cassette.BeginRecording().ok());
  EXPECT_TRUE(SameBytes(test::ReadFile(PathIn("rec.zf")),
                        CassetteBuilder().Table().Entry(1, 0, kOpenEnd).bytes()));

  Bytes sound(5000);
  for (size_t i = 0; i < sound.size(); ++i) sound[i] = uint8_t(i % 128);
  ASSERT_TRUE(cassette.WriteSound(sound.data(), 3000).ok());
  ASSERT_TRUE(cassette.WriteSound(sound.data() + 3000, 2000).ok());
  ASSERT_TRUE(cassette.EndRecording(true).ok());
  Bytes one = CassetteBuilder().Raw(sound).Table().Entry(1, 0, 5000).bytes();
  EXPECT_EQ(one.size(), 5000u + 8 + 140);
  EXPECT_TRUE(SameBytes(test::ReadFile(path), one));
  EXPECT_FALSE(FileExists(PathIn("rec.zf")));
  EXPECT_EQ(cassette.MessageLabelText(), "1/1");
  EXPECT_EQ(cassette.MessageEnd(), 5000u);
  EXPECT_EQ(cassette.PlayPosition, 0u);

  // A second message without auto rewind: the play head waits at its end.
  Bytes second(700, 0x21);
  Record(cassette, second, false);
  EXPECT_TRUE(SameBytes(test::ReadFile(path), CassetteBuilder().Raw(sound).Raw(second).Table()
                                                  .Entry(1, 0, 5000).Entry(2, 5000, 5700).bytes()));
  EXPECT_EQ(cassette.MessageLabelText(), "2/2");
  EXPECT_EQ(cassette.PlayPosition, 5700u);
  EXPECT_TRUE(cassette.PrevEnabled());
}

TEST_F(CassetteRecordingTest, RecordingShorterThanTheOldTableIsFollowedDirectlyByTheTable) {
  std::string path = PathIn("rec.cst");
  Bytes old = MakeCassette({{1, 100, 0x11}, {65535, 50, 0x22}, {2, 70, 0x33}});
  test::WriteFile(path, old);
  Bytes oldTable = Slice(old, 220, 8 + 3 * 140);
  Cassette cassette(Env());
  ASSERT_EQ(cassette.OpenCassette(path), OpenOutcome::Opened);
  ASSERT_TRUE(cassette.BeginRecording().ok());
  EXPECT_EQ(cassette.TablePos(), 220u);
  EXPECT_EQ(cassette.TableCopy(), oldTable);
  EXPECT_TRUE(SameBytes(test::ReadFile(Cassette::SidecarPathFor(path)),
                        CassetteBuilder().Raw(oldTable).Entry(3, 220, kOpenEnd).bytes()));
  Bytes sound(10, 0x44);
  ASSERT_TRUE(cassette.WriteSound(sound.data(), sound.size()).ok());
  ASSERT_TRUE(cassette.EndRecording(false).ok());
  EXPECT_TRUE(SameBytes(test::ReadFile(path), CassetteBuilder().Raw(Slice(old, 0, 220)).Raw(sound)
                                                  .Raw(oldTable).Entry(3, 220, 230).bytes()));
  EXPECT_EQ(cassette.MessageLabelText(), "3/3");
  EXPECT_EQ(cassette.MessageStart(), 220u);
  EXPECT_EQ(cassette.PlayPosition, 230u);
}

TEST_F(CassetteRecordingTest, TableWrittenBackGetsEveryMissingNameTerminatorRepaired) {
  Bytes unterminated = test::NameField(kClockName);
  std::fill(unterminated.begin() + 124, unterminated.end(), 0x20);
  std::string path = PathIn("rec.cst");
  test::WriteFile(path, CassetteBuilder().Sound(100, 0x11).Table()
                            .EntryWithField(1, 0, 60, unterminated)
                            .EntryWithField(2, 60, 100, unterminated).bytes());
  Cassette cassette(Env());
  ASSERT_EQ(cassette.OpenCassette(path), OpenOutcome::Opened);
  Record(cassette, Bytes(20, 0x22), true);
  EXPECT_TRUE(SameBytes(test::ReadFile(path), CassetteBuilder().Sound(100, 0x11).Sound(20, 0x22)
                                                  .Table().Entry(1, 0, 60).Entry(2, 60, 100)
                                                  .Entry(3, 100, 120).bytes()));
}

TEST_F(CassetteRecordingTest, NamesCarryTheColourTagsOfTheSkinInUse) {
  std::string path = PathIn("rec.cst");
  Cassette cassette(Env());
  cassette.SetTickerColorTags("16711680%", "32768%");
  ASSERT_TRUE(cassette.CreateBlankCassette(path).ok());
  Record(cassette, Bytes(10, 0x11), true);
  ASSERT_TRUE(cassette.RenameMessage(1, "Note").ok());
  EXPECT_TRUE(SameBytes(test::ReadFile(path), CassetteBuilder().Sound(10, 0x11).Table()
                        .Entry(1, 0, 10, "16711680%05.12.2026|32768%14:03:59|16711680%Note").bytes()));
}

TEST_F(CassetteRecordingTest, RemainingTimeIsHiddenWhileRecordingAndCountsRecordedBytesWhenPaused) {
  Cassette cassette(Env());
  ASSERT_TRUE(cassette.CreateBlankCassette(PathIn("rec.cst")).ok());
  EXPECT_EQ(cassette.RemainingTimeHint(false), "10':00\" left for recording");
  ASSERT_TRUE(cassette.BeginRecording().ok());
  Bytes fiveSeconds(5 * 11025, 0x30);
  ASSERT_TRUE(cassette.WriteSound(fiveSeconds.data(), fiveSeconds.size()).ok());
  EXPECT_EQ(cassette.RemainingTimeHint(false), "");
  EXPECT_EQ(cassette.RemainingTimeHint(true), "09':55\" left for recording");
  ASSERT_TRUE(cassette.EndRecording(true).ok());
  EXPECT_EQ(cassette.RemainingTimeHint(false), "09':55\" left for recording");
}

TEST_F(CassetteRecordingTest, CrashDuringRecordingIsRecoveredFromTheSidecarAtTheNextOpen) {
  std::string oldName = kClockName + "|255%Old";
  Bytes old = MakeCassette({{1, 100, 0x11, oldName}});
  // 300 bytes of sound cover the old table; 50 leave its tail on disk, which the recovered
  // message then keeps, since it ends where the file ended.
  for (size_t soundSize : {300u, 50u}) {
    SCOPED_TRACE(soundSize);
    std::string path = PathIn("rec.cst");
    test::WriteFile(path, old);
    std::string crashed;
    {
      Cassette cassette(Env());
      ASSERT_EQ(cassette.OpenCassette(path), OpenOutcome::Opened);
      ASSERT_TRUE(cassette.BeginRecording().ok());
      Bytes sound(soundSize, 0x22);
      ASSERT_TRUE(cassette.WriteSound(sound.data(), sound.size()).ok());
      crashed = CrashCopy(path);
    }
    Bytes onDisk = test::ReadFile(crashed);
    ASSERT_EQ(onDisk.size(), std::max<size_t>(100 + soundSize, old.size()));
    uint32_t end = uint32_t(onDisk.size());

    Cassette cassette(Env());
    int notices = 0;
    EXPECT_EQ(cassette.OpenCassette(crashed, [&] { ++notices; }), OpenOutcome::Recovered);
    EXPECT_EQ(notices, 1);
    EXPECT_TRUE(SameBytes(test::ReadFile(crashed),
                          CassetteBuilder().Raw(onDisk).Table().Entry(1, 0, 100, oldName)
                              .Entry(2, 100, end).Entry(kRecoveryNumber, 0, 0).bytes()));
    EXPECT_FALSE(FileExists(Cassette::SidecarPathFor(crashed)));
    EXPECT_TRUE(cassette.CassetteInconsistent());
    ASSERT_TRUE(cassette.SelectMessage(2).ok());
    EXPECT_EQ(cassette.MessageEnd(), end);
    cassette.CloseStream();

    // It stays inconsistent at every later open until every message is deleted.
    Cassette later(Env());
    EXPECT_EQ(later.OpenCassette(crashed), OpenOutcome::Opened);
    EXPECT_EQ(later.CheckRecordStart(100.0), RecordStartCheck::Inconsistent);
    ASSERT_TRUE(later.DeleteAllMessages().ok());
    EXPECT_EQ(test::ReadFile(crashed), CassetteBuilder().Table().bytes());
    EXPECT_EQ(later.MessageLabelText(), "0/0");
    EXPECT_EQ(later.CheckRecordStart(100.0), RecordStartCheck::Ok);
  }
}

TEST_F(CassetteRecordingTest, TableWriteBackCutShortIsRepairedFromTheSidecar) {
  Bytes oldTable = Slice(MakeCassette({{1, 100, 0x11}}), 100, 148);
  std::string startName = "255%05.12.2026|65280%14:00:00";
  Bytes sidecar = CassetteBuilder().Raw(oldTable).Entry(2, 100, kOpenEnd, startName).bytes();
  Bytes fullTail = CassetteBuilder().Raw(oldTable).Entry(2, 100, 400).bytes();
  Bytes recovered = CassetteBuilder().Sound(100, 0x11).Sound(300, 0x22).Raw(oldTable)
                        .Entry(2, 100, 400, startName).Entry(kRecoveryNumber, 0, 0).bytes();
  // How much of the table and new entry reached the disk.
  for (size_t written : {8u, 60u, 148u, 148u + 70u}) {
    SCOPED_TRACE(written);
    std::string path = PathIn("wb.cst");
    test::WriteFile(path, CassetteBuilder().Sound(100, 0x11).Sound(300, 0x22)
                              .Raw(test::Truncated(fullTail, written)).bytes());
    test::WriteFile(Cassette::SidecarPathFor(path), sidecar);
    Cassette cassette(Env());
    EXPECT_EQ(cassette.OpenCassette(path), OpenOutcome::Recovered);
    EXPECT_TRUE(SameBytes(test::ReadFile(path), recovered));
    EXPECT_FALSE(FileExists(Cassette::SidecarPathFor(path)));
    EXPECT_EQ(cassette.MessageCount(), 2u);
  }
}

TEST_F(CassetteRecordingTest, SidecarOfARecordingThatWroteNothingOrFinishedIsIgnored) {
  Bytes old = MakeCassette({{1, 100, 0x11}});
  Bytes oldTable = Slice(old, 100, 148);
  Bytes finished = CassetteBuilder().Raw(Slice(old, 0, 100)).Sound(300, 0x22).Raw(oldTable)
                       .Entry(2, 100, 400).bytes();
  // Crash before the first sound byte (the table still stands where the open entry starts), and
  // crash after the new entry was written but before the sidecar was removed.
  for (const Bytes& bytes : {old, finished}) {
    std::string path = PathIn("stale.cst");
    test::WriteFile(path, bytes);
    test::WriteFile(Cassette::SidecarPathFor(path),
                    CassetteBuilder().Raw(oldTable).Entry(2, 100, kOpenEnd).bytes());
    Cassette cassette(Env());
    int notices = 0;
    EXPECT_EQ(cassette.OpenCassette(path, [&] { ++notices; }), OpenOutcome::Opened);
    EXPECT_EQ(notices, 0);
    EXPECT_EQ(test::ReadFile(path), bytes);
    EXPECT_EQ(cassette.MessageCount(), bytes == old ? 1u : 2u);
    EXPECT_FALSE(cassette.CassetteInconsistent());
  }
}

TEST_F(CassetteRecordingTest, FailureAtAnyStepOfEndingARecordingLosesNoSound) {
  Bytes old = MakeCassette({{1, 100, 0x11}});
  Bytes sound(300, 0x22);
  std::string path = PathIn("rec.cst");
  SweepFaults(test::kEveryIoOp, [&](test::FaultRun& run) {
    test::WriteFile(path, old);
    RemoveFile(Cassette::SidecarPathFor(path));
    std::string crashed;
    bool completed = false;
    {
      Cassette cassette(Env());
      ASSERT_EQ(cassette.OpenCassette(path), OpenOutcome::Opened);
      ASSERT_TRUE(cassette.BeginRecording().ok());
      ASSERT_TRUE(cassette.WriteSound(sound.data(), sound.size()).ok());
      const Status status = run.Faulted([&] { return cassette.EndRecording(true); });
      completed = !run.Fired();
      EXPECT_TRUE(status.ok() || !completed) << status.message();
      crashed = CrashCopy(path);
    }
    // Whatever reached the disk, the next open shows the new message with all of its sound.
    Cassette reopened(Env());
    OpenOutcome outcome = reopened.OpenCassette(crashed);
    if (completed) {
      EXPECT_EQ(outcome, OpenOutcome::Opened);
    }
    ASSERT_TRUE(outcome == OpenOutcome::Opened || outcome == OpenOutcome::Recovered);
    EXPECT_EQ(reopened.CassetteInconsistent(), outcome == OpenOutcome::Recovered);
    ASSERT_TRUE(reopened.SelectMessage(2).ok());
    EXPECT_EQ(reopened.MessageStart(), 100u);
    EXPECT_EQ(reopened.MessageEnd(), 400u);
    EXPECT_EQ(Slice(test::ReadFile(crashed), 0, 400), CassetteBuilder().Raw(Slice(old, 0, 100))
                                                          .Raw(sound).bytes());
    EXPECT_FALSE(FileExists(Cassette::SidecarPathFor(crashed)) && outcome == OpenOutcome::Recovered);
  });
}

}  // namespace
}  // namespace kiv
