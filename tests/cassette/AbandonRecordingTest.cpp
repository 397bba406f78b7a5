// Taking back a recording that must not become a message: the file byte for byte as before, no
// sidecar, the selection and the stream as they were; and a failure at any step of putting the
// table back loses none of the messages that were on the tape.
#include <gtest/gtest.h>

#include <filesystem>

#include "CassetteTestSupport.h"

namespace kiv {
namespace {

using test::Bytes;
using test::CassetteBuilder;
using test::MakeCassette;
using test::SameBytes;
using test::Slice;

class AbandonRecordingTest : public test::CassetteTest {
 protected:
  // True while some other writer holds the cassette open.
  static bool Locked(const std::string& path) {
    std::unique_ptr<File> file;
    return !FileSystem::Default().Open(path, File::Mode::ReadWrite, &file).ok();
  }

  // The cassette and its sidecar as a crash would leave them now, copied elsewhere.
  std::string CrashCopy(const std::string& path) {
    const std::string folder = root_ + "crash/";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directory(folder);
    const std::string copy = folder + std::filesystem::path(path).filename().string();
    test::WriteFile(copy, test::ReadFile(path));
    const std::string sidecar = Cassette::SidecarPathFor(path);
    if (FileExists(sidecar)) test::WriteFile(Cassette::SidecarPathFor(copy), test::ReadFile(sidecar));
    return copy;
  }
};

TEST_F(AbandonRecordingTest, AbandonedBeforeAnySoundLeavesTheCassetteAsItWas) {
  const Bytes old = MakeCassette({{1, 100, 0x11}, {2, 70, 0x22}});
  const std::string path = PathIn("rec.cst");
  test::WriteFile(path, old);
  Cassette cassette(Env());
  ASSERT_EQ(cassette.OpenCassette(path), OpenOutcome::Opened);
  ASSERT_TRUE(cassette.SelectMessage(2).ok());
  cassette.PlayPosition = 130;
  cassette.CloseStream();
  const uint32_t tablePos = cassette.TablePos();
  const std::vector<uint8_t> tableCopy = cassette.TableCopy();

  ASSERT_TRUE(cassette.BeginRecording().ok());
  ASSERT_TRUE(FileExists(Cassette::SidecarPathFor(path)));
  ASSERT_EQ(cassette.MessageStart(), 170u);
  ASSERT_TRUE(Locked(path));

  ASSERT_TRUE(cassette.AbandonRecording().ok());

  EXPECT_TRUE(SameBytes(test::ReadFile(path), old));
  EXPECT_FALSE(FileExists(Cassette::SidecarPathFor(path)));
  EXPECT_FALSE(cassette.Recording());
  EXPECT_EQ(cassette.CurrentMessage(), 2u);
  EXPECT_EQ(cassette.MessageCount(), 2u);
  EXPECT_EQ(cassette.MessageStart(), 100u);
  EXPECT_EQ(cassette.MessageEnd(), 170u);
  EXPECT_EQ(cassette.MessageLabelText(), "2/2");
  EXPECT_EQ(cassette.PlayPosition, 130u);
  EXPECT_EQ(cassette.TablePos(), tablePos);
  EXPECT_EQ(cassette.TableCopy(), tableCopy);
  // The stream was closed before the recording began, so the file is free again.
  EXPECT_TRUE(cassette.CassetteStreamClosed());
  EXPECT_FALSE(Locked(path));

  // The tape records on as if nothing had happened.
  ASSERT_TRUE(cassette.BeginRecording().ok());
  const Bytes sound(40, 0x33);
  ASSERT_TRUE(cassette.WriteSound(sound.data(), sound.size()).ok());
  ASSERT_TRUE(cassette.EndRecording(true).ok());
  EXPECT_TRUE(SameBytes(test::ReadFile(path), CassetteBuilder()
                                                  .Raw(Slice(old, 0, 170))
                                                  .Raw(sound)
                                                  .Raw(Slice(old, 170, old.size() - 170))
                                                  .Entry(3, 170, 210)
                                                  .bytes()));
}

TEST_F(AbandonRecordingTest, AnOpenStreamStaysOpenAndAnAbandonedRecordingCanBeOpenedAgain) {
  const Bytes old = MakeCassette({{1, 100, 0x11}});
  const std::string path = PathIn("rec.cst");
  test::WriteFile(path, old);
  Cassette cassette(Env());
  ASSERT_EQ(cassette.OpenCassette(path), OpenOutcome::Opened);
  ASSERT_TRUE(cassette.BeginRecording().ok());
  ASSERT_TRUE(cassette.AbandonRecording().ok());
  EXPECT_FALSE(cassette.CassetteStreamClosed());
  // A recording that is no longer running lets the stream close and the cassette be reopened.
  cassette.CloseStream();
  EXPECT_TRUE(cassette.CassetteStreamClosed());
  EXPECT_EQ(cassette.OpenCassette(path), OpenOutcome::Opened);
  EXPECT_EQ(cassette.MessageCount(), 1u);
  EXPECT_FALSE(cassette.CassetteInconsistent());
}

TEST_F(AbandonRecordingTest, SoundWrittenOverTheTableIsTakenBackByteForByte) {
  // Names without their terminators and half an entry at the end: the recording would write
  // back a repaired table, but an abandoned one must leave the file exactly as it found it.
  Bytes unterminated = test::NameField(test::kClockName);
  std::fill(unterminated.begin() + 124, unterminated.end(), 0x20);
  const Bytes old = CassetteBuilder()
                        .Sound(100, 0x11)
                        .Table()
                        .EntryWithField(1, 0, 60, unterminated)
                        .EntryWithField(2, 60, 100, unterminated)
                        .Sound(30, 0x44)
                        .bytes();
  const std::string path = PathIn("rec.cst");
  // Shorter than the marker, shorter than the table, longer than the table.
  for (size_t soundSize : {2u, 150u, 5000u}) {
    SCOPED_TRACE(soundSize);
    test::WriteFile(path, old);
    Cassette cassette(Env());
    ASSERT_EQ(cassette.OpenCassette(path), OpenOutcome::Opened);
    ASSERT_TRUE(cassette.BeginRecording().ok());
    const Bytes sound(soundSize, 0x22);
    ASSERT_TRUE(cassette.WriteSound(sound.data(), sound.size()).ok());
    ASSERT_FALSE(SameBytes(test::ReadFile(path), old));

    ASSERT_TRUE(cassette.AbandonRecording().ok());

    EXPECT_TRUE(SameBytes(test::ReadFile(path), old));
    EXPECT_FALSE(FileExists(Cassette::SidecarPathFor(path)));
    EXPECT_EQ(cassette.MessageStart(), 0u);
    EXPECT_EQ(cassette.MessageEnd(), 60u);
    cassette.CloseStream();
    Cassette reopened(Env());
    EXPECT_EQ(reopened.OpenCassette(path), OpenOutcome::Opened);
    EXPECT_EQ(reopened.MessageCount(), 2u);
  }
}

TEST_F(AbandonRecordingTest, NothingToAbandonWithoutARecording) {
  const Bytes old = MakeCassette({{1, 100, 0x11}});
  const std::string path = PathIn("rec.cst");
  test::WriteFile(path, old);
  Cassette cassette(Env());
  ASSERT_EQ(cassette.OpenCassette(path), OpenOutcome::Opened);
  EXPECT_EQ(cassette.AbandonRecording().code(), StatusCode::Refused);

  // Nor twice, nor after the recording has become a message.
  ASSERT_TRUE(cassette.BeginRecording().ok());
  ASSERT_TRUE(cassette.AbandonRecording().ok());
  EXPECT_EQ(cassette.AbandonRecording().code(), StatusCode::Refused);
  ASSERT_TRUE(cassette.BeginRecording().ok());
  const Bytes sound(10, 0x22);
  ASSERT_TRUE(cassette.WriteSound(sound.data(), sound.size()).ok());
  ASSERT_TRUE(cassette.EndRecording(true).ok());
  const Bytes recorded = test::ReadFile(path);
  EXPECT_EQ(cassette.AbandonRecording().code(), StatusCode::Refused);
  EXPECT_EQ(test::ReadFile(path), recorded);
  EXPECT_EQ(cassette.MessageCount(), 2u);
}

TEST_F(AbandonRecordingTest, FailureAtAnyStepOfAbandoningLosesNoMessage) {
  const Bytes old = MakeCassette({{1, 100, 0x11}, {2, 70, 0x22}});
  const Bytes sound(300, 0x33);
  const std::string path = PathIn("rec.cst");
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
      const Status status = run.Faulted([&] { return cassette.AbandonRecording(); });
      completed = !run.Fired();
      EXPECT_TRUE(status.ok() || !completed) << status.message();
      EXPECT_FALSE(cassette.Recording());
      // The selected message is the one selected before, whatever reached the disk.
      EXPECT_EQ(cassette.CurrentMessage(), 1u);
      EXPECT_EQ(cassette.MessageStart(), 0u);
      EXPECT_EQ(cassette.MessageEnd(), 100u);
      crashed = CrashCopy(path);
    }
    if (completed) {
      EXPECT_TRUE(SameBytes(test::ReadFile(crashed), old));
      EXPECT_FALSE(FileExists(Cassette::SidecarPathFor(crashed)));
    }
    // Whatever reached the disk, both old messages are there at the next open with their sound,
    // and the sidecar is used up.
    Cassette reopened(Env());
    const OpenOutcome outcome = reopened.OpenCassette(crashed);
    ASSERT_TRUE(outcome == OpenOutcome::Opened || outcome == OpenOutcome::Recovered);
    EXPECT_FALSE(FileExists(Cassette::SidecarPathFor(crashed)));
    EXPECT_EQ(Slice(test::ReadFile(crashed), 0, 170), Slice(old, 0, 170));
    ASSERT_TRUE(reopened.SelectMessage(1).ok());
    EXPECT_EQ(reopened.MessageEnd(), 100u);
    ASSERT_TRUE(reopened.SelectMessage(2).ok());
    EXPECT_EQ(reopened.MessageStart(), 100u);
    EXPECT_EQ(reopened.MessageEnd(), 170u);
    if (outcome == OpenOutcome::Opened) {
      EXPECT_TRUE(SameBytes(test::ReadFile(crashed), old));
    }
  });
}

}  // namespace
}  // namespace kiv
