// Recording onto a cassette, taking a recording back, and getting an interrupted one back: the
// bytes of the sound, the table written back and the new entry; the sidecar while recording;
// recovery after a crash at any moment and a failed disk operation at any step.
#include <gtest/gtest.h>

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
  // True while some writer holds the cassette open.
  static bool Locked(const std::string& path) {
    std::unique_ptr<File> file;
    return !FileSystem::Default().Open(path, File::Mode::ReadWrite, &file).ok();
  }
};

TEST_F(CassetteRecordingTest, RecordingWritesTheSoundThenTheOldTableWithItsTerminatorsRepairedAndTheEntry) {
  Cassette cassette(Env());
  cassette.SetTickerColorTags("16711680%", "32768%");
  ASSERT_TRUE(cassette.CreateBlankCassette(PathIn("blank.cst")).ok());
  EXPECT_EQ(cassette.RemainingTimeHint(false), "10':00\" left for recording");
  const Bytes old = CassetteBuilder().Sound(100, 0x11).Sound(50, 0x22).Table()
                        .EntryWithField(1, 0, 100, test::NameField(kClockName, 0x20)).Entry(65535, 100, 150).bytes();
  const Bytes oldTable = CassetteBuilder().Table().Entry(1, 0, 100).Entry(65535, 100, 150).bytes();
  const std::string path = Put(cassette, "rec.cst", old);
  test::FailNthOperation none(0);
  files_.Inject(&none);  // no failure, but the sidecar must be on disk before the sound is written
  ASSERT_TRUE(cassette.BeginRecording().ok());
  const std::string name = "16711680%05.12.2026|32768%14:03:59";
  EXPECT_TRUE(SameBytes(test::ReadFile(PathIn("rec.zf")),
                        CassetteBuilder().Raw(oldTable).Entry(2, 150, kOpenEnd, name).bytes()));
  Bytes sound(5 * 11025);
  for (size_t i = 0; i < sound.size(); ++i) sound[i] = uint8_t(i % 128);
  ASSERT_TRUE(cassette.WriteSound(sound.data(), 3000).ok());
  ASSERT_TRUE(cassette.WriteSound(sound.data() + 3000, sound.size() - 3000).ok());
  files_.Inject(nullptr);
  EXPECT_EQ(files_.Unsafe(), "");
  EXPECT_EQ(cassette.RemainingTimeHint(false), "");
  EXPECT_EQ(cassette.RemainingTimeHint(true), "09':55\" left for recording");
  ASSERT_TRUE(cassette.EndRecording(true).ok());
  const uint32_t end = uint32_t(150 + sound.size());
  const Bytes first = CassetteBuilder().Raw(test::Slice(old, 0, 150)).Raw(sound).bytes();
  EXPECT_TRUE(SameBytes(test::ReadFile(path),
                        CassetteBuilder().Raw(first).Raw(oldTable).Entry(2, 150, end, name).bytes()));
  EXPECT_FALSE(FileExists(PathIn("rec.zf")));
  EXPECT_EQ(cassette.Head().Position(), 150u);

  // Without auto rewind the play head waits at the end of the new message.
  ASSERT_TRUE(cassette.BeginRecording().ok());
  ASSERT_TRUE(cassette.WriteSound(Bytes(700, 0x21).data(), 700).ok());
  ASSERT_TRUE(cassette.EndRecording(false).ok());
  EXPECT_TRUE(SameBytes(test::ReadFile(path), CassetteBuilder().Raw(first).Sound(700, 0x21).Raw(oldTable)
                                                  .Entry(2, 150, end, name).Entry(3, end, end + 700, name).bytes()));
  EXPECT_EQ(cassette.MessageLabelText(), "3/3");
  EXPECT_EQ(cassette.Head().Position(), end + 700);
}

TEST_F(CassetteRecordingTest, CrashDuringRecordingIsRecoveredFromTheSidecarAtTheNextOpen) {
  const std::string oldName = kClockName + "|255%Old";
  const Bytes old = MakeCassette({{1, 100, 0x11, oldName}});
  // 300 bytes of sound cover the old table; 50 leave its tail on disk, which the recovered
  // message then keeps, since it ends where the file ended.
  for (size_t soundSize : {300u, 50u}) {
    std::string crashed;
    {
      Cassette cassette(Env());
      Put(cassette, "rec.cst", old);
      ASSERT_TRUE(cassette.BeginRecording().ok());
      ASSERT_TRUE(cassette.WriteSound(Bytes(soundSize, 0x22).data(), soundSize).ok());
      crashed = CrashCopy(PathIn("rec.cst"));
    }
    const Bytes onDisk = test::ReadFile(crashed);
    const uint32_t end = uint32_t(std::max<size_t>(100 + soundSize, old.size()));
    Cassette cassette(Env());
    int notices = 0;
    EXPECT_EQ(cassette.OpenCassette(crashed, [&] { ++notices; }), OpenOutcome::Recovered);
    EXPECT_EQ(notices, 1);
    EXPECT_TRUE(SameBytes(test::ReadFile(crashed), CassetteBuilder().Raw(onDisk).Table().Entry(1, 0, 100, oldName)
                                                       .Entry(2, 100, end).Entry(kRecoveryNumber, 0, 0).bytes()));
    EXPECT_FALSE(FileExists(Cassette::SidecarPathFor(crashed)));
    // It stays inconsistent at every later open until every message is deleted.
    EXPECT_EQ(cassette.OpenCassette(crashed), OpenOutcome::Opened);
    EXPECT_EQ(cassette.CheckRecordStart(100.0), RecordStartCheck::Inconsistent);
    ASSERT_TRUE(cassette.DeleteAllMessages().ok());
    EXPECT_EQ(cassette.CheckRecordStart(100.0), RecordStartCheck::Ok);
  }
}

TEST_F(CassetteRecordingTest, TableWriteBackCutShortIsRepairedAndAFinishedOneLeftAlone) {
  const Bytes oldTable = CassetteBuilder().Table().Entry(1, 0, 100).bytes();
  const std::string startName = "255%05.12.2026|65280%14:00:00";
  const Bytes sidecar = CassetteBuilder().Raw(oldTable).Entry(2, 100, kOpenEnd, startName).bytes();
  const Bytes sound = CassetteBuilder().Sound(100, 0x11).Sound(300, 0x22).bytes();
  const Bytes fullTail = CassetteBuilder().Raw(oldTable).Entry(2, 100, 400).bytes();
  // How much of the table and new entry reached the disk.
  for (size_t written : {8u, 60u, 148u, 148u + 70u}) {
    Cassette cassette(Env());
    const std::string path = Put(cassette, "wb.cst", CassetteBuilder().Raw(sound).Raw(Slice(fullTail, 0, written)).bytes(),
                                 sidecar, OpenOutcome::Recovered);
    EXPECT_TRUE(SameBytes(test::ReadFile(path), CassetteBuilder().Raw(sound).Raw(oldTable).Entry(2, 100, 400, startName)
                                                    .Entry(kRecoveryNumber, 0, 0).bytes())) << written;
    EXPECT_FALSE(FileExists(Cassette::SidecarPathFor(path)));
  }
  // A sidecar left by a recording that wrote nothing, or that finished, is stale.
  for (const Bytes& bytes : {CassetteBuilder().Sound(100, 0x11).Raw(oldTable).bytes(),
                             CassetteBuilder().Raw(sound).Raw(fullTail).bytes()}) {
    Cassette cassette(Env());
    const std::string path = Put(cassette, "stale.cst", bytes, sidecar);
    EXPECT_EQ(test::ReadFile(path), bytes);
    EXPECT_FALSE(cassette.CassetteInconsistent() || FileExists(Cassette::SidecarPathFor(path)));
  }
}

TEST_F(CassetteRecordingTest, AnAbandonedRecordingLeavesTheCassetteAndTheSelectionAsTheyWere) {
  const Bytes old = CassetteBuilder().Sound(100, 0x11).Sound(70, 0x22).Table().EntryWithField(1, 0, 100,
                        test::NameField(kClockName, 0x20)).Entry(2, 100, 170).Sound(30, 0x44).bytes();
  // Nothing written, sound inside the old table, sound far beyond it.
  for (size_t soundSize : {0u, 150u, 5000u}) {
    Cassette cassette(Env());
    const std::string path = Put(cassette, "rec.cst", old);
    ASSERT_TRUE(cassette.SelectMessage(2).ok());
    cassette.Head().SeekTo(130 - cassette.MessageStart());
    cassette.CloseStream();
    ASSERT_TRUE(cassette.BeginRecording().ok());
    ASSERT_TRUE(cassette.WriteSound(Bytes(soundSize, 0x33).data(), soundSize).ok());
    ASSERT_TRUE(Locked(path));
    ASSERT_TRUE(cassette.AbandonRecording().ok());
    EXPECT_TRUE(SameBytes(test::ReadFile(path), old));
    EXPECT_FALSE(FileExists(Cassette::SidecarPathFor(path)) || cassette.Recording() || Locked(path));
    EXPECT_EQ(cassette.MessageLabelText(), "2/2");
    EXPECT_EQ(cassette.MessageStart(), 100u);
    EXPECT_EQ(cassette.Head().Position(), 130u);
    EXPECT_EQ(cassette.AbandonRecording().code(), StatusCode::Refused);
  }
}

TEST_F(CassetteRecordingTest, FailureAtAnyStepOfEndingOrAbandoningARecordingLosesNothing) {
  const Bytes old = MakeCassette({{1, 100, 0x11}, {2, 70, 0x22}});
  const Bytes sound(300, 0x33);
  for (bool abandon : {false, true}) {
    SweepFaults([&](test::FaultRun& run) {
      std::string crashed;
      {
        Cassette cassette(Env());
        Put(cassette, "rec.cst", old);
        ASSERT_TRUE(cassette.BeginRecording().ok());
        ASSERT_TRUE(cassette.WriteSound(sound.data(), sound.size()).ok());
        const Status status =
            run.Faulted([&] { return abandon ? cassette.AbandonRecording() : cassette.EndRecording(true); });
        EXPECT_TRUE(status.ok() || run.Fired()) << status.message();
        EXPECT_FALSE(cassette.Recording());
        crashed = CrashCopy(PathIn("rec.cst"));
      }
      // An abandoned recording is taken back entirely, or at least the old messages' sound stays.
      const Bytes kept = !abandon ? CassetteBuilder().Raw(Slice(old, 0, 170)).Raw(sound).bytes()
                                  : run.Fired() ? Slice(old, 0, 170) : old;
      const Bytes onDisk = test::ReadFile(crashed);
      EXPECT_EQ(Slice(onDisk, 0, kept.size()), kept);
      // Whatever reached the disk, the next open shows every message with all of its sound.
      Cassette reopened(Env());
      const OpenOutcome outcome = reopened.OpenCassette(crashed);
      ASSERT_TRUE(outcome == OpenOutcome::Opened || (run.Fired() && outcome == OpenOutcome::Recovered));
      EXPECT_FALSE(FileExists(Cassette::SidecarPathFor(crashed)));
      ASSERT_TRUE(reopened.SelectMessage(2).ok());
      EXPECT_EQ(reopened.MessageEnd(), 170u);
      EXPECT_EQ(reopened.MessageCount(), abandon && outcome == OpenOutcome::Opened ? 2u : 3u);
      // An abandon that put a table back in place put back the whole of it.
      EXPECT_TRUE(!abandon || outcome != OpenOutcome::Opened || SameBytes(onDisk, old));
    });
  }
}

TEST_F(CassetteRecordingTest, ANamedEndThatFailsStaysAbandonableEvenWithoutSound) {
  const Bytes old = MakeCassette({{1, 100, 0x11}});
  for (size_t length : {0u, 40u}) {
    SweepFaults([&](test::FaultRun& run) {
      Cassette cassette(Env());
      const std::string path = Put(cassette, "rec.cst", old);
      ASSERT_TRUE(cassette.BeginRecording().ok());
      const Bytes sound(length + 1, 0x44);
      ASSERT_TRUE(cassette.WriteSound(sound.data(), length).ok());
      if (run.Faulted([&] { return cassette.EndRecordingWithNote("Minutes"); }).ok()) {
        EXPECT_EQ(cassette.CurrentNote(), "Minutes");
        EXPECT_EQ(cassette.SelectorLines().back(), "2) 05.12.2026 14:03:59 Minutes (00:00)");
        return;
      }
      EXPECT_TRUE(cassette.Recording());
      ASSERT_TRUE(cassette.AbandonRecording().ok());
      EXPECT_TRUE(SameBytes(test::ReadFile(path), old)) << length;
    });
  }
}

}  // namespace
}  // namespace kiv
