// The playback engine against real cassette files and the fake output device: how a message is
// cut into segments and which bytes each holds, where the play head is after every move, pause,
// stop and end, the speed steps, the skips, the progress tick, and every failure of the device.
//
// Nothing waits for time: a test plays bytes on the fake device, calls the tick handler itself
// and then lets the returned buffers arrive.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QStringList>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "../cassette/CassetteTestSupport.h"
#include "AudioTestSupport.h"
#include "audio/PlaybackEngine.h"
#include "cassette/Cassette.h"
#include "platform/fake/FakeAudioOutput.h"
#include "platform/fake/FakeDialogs.h"

namespace kiv {
namespace {

using test::Bytes;
using test::Noise;
using test::PlayRecordingView;
using test::SameBytes;
using Calls = std::vector<std::string>;

class PlaybackEngineTest : public test::CassetteTest {
 protected:
  void TearDown() override {
    engine_.reset();
    cassette_.reset();
    test::CassetteTest::TearDown();
  }

  // Writes a cassette of these messages, opens it, selects message `selected` and builds the
  // engine on it.
  void Load(const std::vector<Bytes>& messages, uint32_t selected = 1, uint32_t rate = 11025) {
    // A second cassette in one test: the old engine closes its device first and its buffer's
    // return must not reach the new one.
    engine_.reset();
    cassette_.reset();
    DeliverReturnedBuffers();
    output_.ClearCalls();
    messages_ = messages;
    test::CassetteBuilder file;
    for (const Bytes& sound : messages) file.Raw(sound);
    file.Table(rate);
    uint32_t start = 0;
    for (uint32_t n = 1; n <= messages.size(); ++n) {
      file.Entry(n, start, start + uint32_t(messages[n - 1].size()));
      start += uint32_t(messages[n - 1].size());
    }
    cassette_ = std::make_unique<Cassette>(Env());
    Put(*cassette_, "kivrec.cst", file.bytes());
    ASSERT_TRUE(cassette_->SelectMessage(selected).ok());
    engine_ = std::make_unique<PlaybackEngine>(*cassette_, output_, dialogs_, view_);
  }

  // The sound of the selected message from `offset` bytes into it.
  Bytes SoundFrom(uint32_t offset, size_t count) const {
    return test::Slice(messages_.at(cassette_->CurrentMessage() - 1), offset, count);
  }
  uint32_t Start() const { return cassette_->MessageStart(); }
  // The effective play head, relative to the message start.
  uint32_t Head() const {
    return cassette_->Head().Position() + cassette_->Head().SegmentPlayed() - Start();
  }

  // Returned buffers are queued signals. Only those are delivered, not timers, so Timer2 can
  // never tick behind a test's back however slow the machine is.
  static void DeliverReturnedBuffers() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
  }

  Calls Writes() const { return test::CallsStartingWith(output_.Calls(), "Write("); }

  // After a playback ended: nothing playing, nothing pending, the device closed and the idle
  // panel restored.
  void ExpectEnded() {
    EXPECT_FALSE(engine_->Playing() || engine_->PlayPaused() || engine_->StopRequested());
    EXPECT_EQ(engine_->SegmentsPending(), 0);
    EXPECT_FALSE(engine_->Timer2Running());
    EXPECT_FALSE(output_.IsOpen());
    EXPECT_TRUE(engine_->OutputBuffer().isEmpty());
    EXPECT_EQ(cassette_->Head().PlayRate(), cassette_->BaseRate());
    EXPECT_EQ(cassette_->Head().SegmentPlayed(), 0u);
    EXPECT_TRUE(cassette_->CassetteStreamClosed());
    for (const char* call : {"StopWheels", "ShowIdleFace", "EnableMessageMenuItems(true)",
                             "DrawIdleLine"}) {
      EXPECT_GE(std::count(view_.calls.begin(), view_.calls.end(), call), 1) << call;
    }
    EXPECT_EQ(view_.availability[PanelControl::Play], Availability::Available);
  }

  std::vector<Bytes> messages_;
  FakeAudioOutput output_;
  FakeDialogs dialogs_;
  PlayRecordingView view_;
  std::unique_ptr<Cassette> cassette_;
  std::unique_ptr<PlaybackEngine> engine_;
};

// ---- Segments ---------------------------------------------------------------------------

TEST_F(PlaybackEngineTest, UpToOneSegmentOfSoundPlaysAsOneAndEndsWithItsBuffer) {
  for (const size_t size : {size_t(5000), size_t(1048576)}) {
    SCOPED_TRACE(size);
    view_.calls.clear();
    Load({Noise(size, 1), Noise(3000, 2)});
    engine_->StartPlayback();

    EXPECT_EQ(output_.Calls(), (Calls{"Open(11025)", "Write(" + std::to_string(size) + ")"}));
    EXPECT_TRUE(SameBytes(test::BytesOf(output_.Buffer()), SoundFrom(0, size)));
    EXPECT_EQ(engine_->SegmentsPending(), 1);
    EXPECT_EQ(view_.calls, (Calls{"ApplyAvailability", "EnableMessageMenuItems(false)"}));
    EXPECT_EQ(view_.availability[PanelControl::Play], Availability::Running);

    output_.Finish();
    DeliverReturnedBuffers();
    ExpectEnded();
    EXPECT_EQ(Writes().size(), 1u);
    EXPECT_EQ(cassette_->Head().Position(), cassette_->MessageEnd());
  }
  EXPECT_TRUE(dialogs_.Calls().isEmpty());
}

TEST_F(PlaybackEngineTest, ALongMessagePlaysInFullSegmentsAndEndsAfterItsLastByte) {
  Load({Noise(1000, 3), Noise(3000000, 4)}, 2);
  ASSERT_EQ(Start(), 1000u);
  engine_->StartPlayback();
  EXPECT_EQ(engine_->SegmentsPending(), 2);
  EXPECT_TRUE(SameBytes(test::BytesOf(output_.Buffer()), SoundFrom(0, 1048576)));

  // The boundary is crossed without a tick at the very end: the next segment still starts at
  // the byte after the last one the device played.
  output_.Play(1000000);
  engine_->ProgressTick();
  output_.Finish();
  DeliverReturnedBuffers();
  EXPECT_EQ(cassette_->Head().Position(), Start() + 1048576);
  EXPECT_TRUE(SameBytes(test::BytesOf(output_.Buffer()), SoundFrom(1048576, 1048576)));

  // A restart counts one pending segment more than the tape holds; the end absorbs it.
  output_.Play(1000);
  engine_->SkipForward();
  DeliverReturnedBuffers();
  EXPECT_TRUE(SameBytes(test::BytesOf(output_.Buffer()), SoundFrom(1060601, 1048576)));
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(engine_->Playing());
    output_.Finish();
    DeliverReturnedBuffers();
  }
  ExpectEnded();
  EXPECT_EQ(Writes(), (Calls{"Write(1048576)", "Write(1048576)",
                                                "Write(1048576)", "Write(890823)"}));
  EXPECT_EQ(cassette_->Head().Position(), cassette_->MessageEnd());
}

// ---- Progress ---------------------------------------------------------------------------

TEST_F(PlaybackEngineTest, TheTickShowsTheCounterAndHandsOnTheBytesPlayedSinceTheLastTick) {
  // Two seconds of another message first: the counter counts from this message's start.
  Load({Noise(22050, 10), Noise(5 * 11025 + 300, 11)}, 2);
  engine_->StartPlayback();
  view_.calls.clear();

  output_.Play(551);
  engine_->ProgressTick();
  EXPECT_EQ(view_.calls, (Calls{"ShowCounter(5,0)", "DrawPlaybackTrace(551)"}));
  EXPECT_TRUE(SameBytes(view_.traces.back(), SoundFrom(0, 551)));

  output_.Play(22050);
  engine_->ProgressTick();
  // The counter shows where the previous tick left the head; the trace what came since.
  EXPECT_EQ(view_.calls.at(2), "ShowCounter(5,0)");
  EXPECT_TRUE(SameBytes(view_.traces.back(), SoundFrom(551, 22050)));

  engine_->ProgressTick();
  EXPECT_EQ(view_.calls.at(4), "ShowCounter(5,2)");
  EXPECT_TRUE(view_.traces.back().empty());
  EXPECT_EQ(Head(), 22601u);

  // A seek from the transport folds first, to move relative to the byte being heard.
  output_.Play(50);
  engine_->FoldPosition();
  cassette_->Head().Wind(11025);
  engine_->RequestRestart();
  DeliverReturnedBuffers();
  EXPECT_TRUE(SameBytes(test::BytesOf(output_.Buffer()), SoundFrom(33676, 55425 - 33676)));
}

// ---- Pause and stop ---------------------------------------------------------------------

TEST_F(PlaybackEngineTest, ResumeContinuesAtTheByteWhereTheDeviceStopped) {
  Load({Noise(40000, 14)});
  engine_->StartPlayback();
  output_.Play(3000);
  engine_->ProgressTick();
  // Played after the last tick, before the pause: still heard, so not played again.
  output_.Play(500);
  view_.calls.clear();

  engine_->TogglePause();
  EXPECT_TRUE(engine_->PlayPaused());
  EXPECT_TRUE(output_.IsPaused());
  EXPECT_FALSE(engine_->Timer2Running());
  EXPECT_EQ(view_.calls, (Calls{"ShowPausedFace", "PauseWheels", "DrawIdleLine"}));
  // While paused the head tells the exact place, and a late tick draws nothing.
  EXPECT_EQ(Head(), 3500u);
  engine_->ProgressTick();
  EXPECT_EQ(view_.calls.size(), 3u);

  output_.ClearCalls();
  view_.calls.clear();
  engine_->TogglePause();
  EXPECT_FALSE(engine_->PlayPaused());
  EXPECT_EQ(view_.calls, (Calls{"ShowCounter(3,0)", "ShowPlayingFace", "ResumeWheels"}));
  DeliverReturnedBuffers();
  EXPECT_EQ(output_.Calls(), (Calls{"Restart", "Reset", "Reset", "Close",
                                                       "Open(11025)", "Write(36500)"}));
  EXPECT_TRUE(SameBytes(test::BytesOf(output_.Buffer()), SoundFrom(3500, 36500)));
  EXPECT_EQ(engine_->SegmentsPending(), 1);
  EXPECT_TRUE(engine_->Timer2Running());

  // A stop while paused restarts the device before resetting it, so the buffer comes back.
  output_.Play(700);
  engine_->TogglePause();
  output_.ClearCalls();
  engine_->StopPlayback();
  EXPECT_EQ(output_.Calls(), (Calls{"Restart", "Reset"}));
  DeliverReturnedBuffers();
  ExpectEnded();
  EXPECT_EQ(cassette_->Head().Position(), Start() + 4200);
}

TEST_F(PlaybackEngineTest, StopAndTheEndLeaveTheHeadWhereAutoRewindSays) {
  for (const bool autoRewind : {false, true}) {
    SCOPED_TRACE(autoRewind ? "auto rewind" : "no auto rewind");
    Load({Noise(500, 15), Noise(40000, 16)}, 2);
    view_.autoRewind = autoRewind;
    engine_->StartPlayback();
    output_.Play(4000);
    engine_->ProgressTick();
    output_.Play(123);
    view_.calls.clear();

    // The playback ends only when the device hands its buffer back.
    engine_->StopPlayback();
    EXPECT_TRUE(engine_->StopRequested() && engine_->Playing());
    EXPECT_EQ(output_.Calls().back(), "Reset");
    EXPECT_EQ(view_.calls, (Calls{"SetAvailability(2,2)"}));
    DeliverReturnedBuffers();
    ExpectEnded();
    EXPECT_EQ(Head(), autoRewind ? 0u : 4123u);

    engine_->StartPlayback();
    output_.Finish();
    DeliverReturnedBuffers();
    ExpectEnded();
    EXPECT_EQ(Head(), autoRewind ? 0u : 40000u);
    // The counter was last shown where the head stays.
    EXPECT_EQ(view_.calls.at(view_.calls.size() - 2),
              autoRewind ? "ShowCounter(3,0)" : "ShowCounter(3,3)");
    // At the end Play does nothing until the head is moved.
    output_.ClearCalls();
    engine_->StartPlayback();
    EXPECT_EQ(output_.Calls().empty(), !autoRewind);
  }
}

// ---- Speed ------------------------------------------------------------------------------

TEST_F(PlaybackEngineTest, SpeedStepsFollowTheBaseRateAndGoOnAtTheByteReached) {
  for (const uint32_t base : {11025u, 22050u, 44100u}) {
    SCOPED_TRACE(base);
    const uint32_t k = base / 11025;
    Load({Noise(200000, 23)}, 1, base);
    engine_->StartPlayback();
    for (const uint32_t rate : {12049u, 13073u, 14097u, 15121u, 15121u}) {
      output_.Play(1000);
      engine_->FasterStep();
      DeliverReturnedBuffers();
      EXPECT_EQ(output_.Rate(), k * rate);
    }
    // The fifth step changed nothing, so it did not restart the device either; every restart
    // went on at the byte reached.
    EXPECT_EQ(Writes().size(), 5u);
    EXPECT_TRUE(SameBytes(test::BytesOf(output_.Buffer()), SoundFrom(4000, 196000)));
    for (int i = 0; i < 10; ++i) engine_->SlowerStep();
    DeliverReturnedBuffers();
    EXPECT_EQ(output_.Rate(), k * 6929);
  }
}

// ---- Skips and moves --------------------------------------------------------------------

TEST_F(PlaybackEngineTest, SkipForwardMovesOneSecondAndEndsFastPlayButNotPastTheEnd) {
  Load({Noise(100000, 29)});
  engine_->StartPlayback();
  engine_->FasterStep();
  DeliverReturnedBuffers();
  output_.Play(2000);
  view_.calls.clear();
  engine_->SkipForward();
  EXPECT_EQ(cassette_->Head().PlayRate(), 11025u);
  EXPECT_EQ(view_.calls, (Calls{"ShowCounter(9,1)"}));
  DeliverReturnedBuffers();
  EXPECT_EQ(output_.Rate(), 11025u);
  EXPECT_TRUE(SameBytes(test::BytesOf(output_.Buffer()), SoundFrom(13025, 100000 - 13025)));

  // Within the last second a skip only restarts where the device was.
  output_.Play(100000 - 13025 - 11024);
  engine_->SkipForward();
  EXPECT_EQ(Head(), 100000u - 11024);
  DeliverReturnedBuffers();
  EXPECT_TRUE(SameBytes(test::BytesOf(output_.Buffer()), SoundFrom(100000 - 11024, 11024)));
  // Exactly one second before the end still moves, to the end itself, which ends the playback.
  engine_->SkipBack();
  DeliverReturnedBuffers();
  output_.Play(11024);
  engine_->SkipForward();
  DeliverReturnedBuffers();
  ExpectEnded();
  EXPECT_EQ(cassette_->Head().Position(), cassette_->MessageEnd());
}

// ---- Failures ---------------------------------------------------------------------------

TEST_F(PlaybackEngineTest, ARefusedOpenShowsItsBoxAndLeavesTheTransportIdle) {
  // Boxes #01 to #06 in this order, then the one for any other code.
  const std::pair<int, const char*> cases[] = {
      {4, "Kiv Sound Recorder can not start playback because access to the sound card output is "
          "blocked by another program.\r\nYou have to close that program first and then try "
          "again."},
      {2, "Windows reported an error associated with the sound card so Kiv Sound Recorder can not "
          "start playback.\r\nCheck your sound card and look for possible conflicts in Device "
          "Manager.\r\nRestart your computer if necessary."},
      {6, "Kiv Sound Recorder can not start playback because sound card driver is not "
          "present.\r\nCheck your system configuration, install the missing driver and make sure "
          "there are no conflicts with other hardware devices."},
      {7, "There is not enough memory for Kiv Sound Recorder to start playback.\r\nClose some "
          "programs and try again.\r\nRestart your computer if necessary."},
      {32, "Kiv Sound Recorder can not start playback because your sound card does not support "
           "audio format used for recording. Upgrading sound card driver if newer version is "
           "available might help. Contact sound card vendor if necessary."},
      {35, "The device is synchronous but WAVE_ALLOWSYNC flag was not used."},
      {99, "Kiv Sound Recorder can not start playback because the sound card output reported "
           "error 99.\r\nCheck your sound card and try again."},
  };
  Load({Noise(4000, 37)});
  for (int i = 0; i < 7; ++i) {
    const auto& [code, text] = cases[i];
    SCOPED_TRACE(code);
    dialogs_.ClearCalls();
    output_.ClearCalls();
    output_.QueueOpenResult(code);
    engine_->StartPlayback();

    ASSERT_EQ(dialogs_.Calls().size(), 1);
    const FakeDialogs::Call& box = dialogs_.Calls().front();
    EXPECT_EQ(box.kind, FakeDialogs::Kind::MessageBox);
    EXPECT_EQ(box.caption, QStringLiteral("Kiv Sound Recorder - Error") +
                               (i < 6 ? QStringLiteral(" #0%1").arg(i + 1) : QString()));
    EXPECT_EQ(box.text, QString::fromUtf8(text));
    EXPECT_EQ(box.flags, MB_ICONHAND);
    EXPECT_EQ(output_.Calls(), (Calls{"Open(11025)", "Close"}));
    EXPECT_FALSE(engine_->Playing());
    EXPECT_EQ(engine_->SegmentsPending(), 0);
    EXPECT_TRUE(view_.calls.empty());
  }
}

TEST_F(PlaybackEngineTest, MemoryAndWriteFailuresLeaveNothingPlaying) {
  // No memory for the buffer is said; a refused write, at the start or between segments, is not.
  Load({Noise(2000000, 39)});
  engine_->SetAllocationFaults([](qsizetype size) { return size == 1048576; });
  engine_->StartPlayback();
  EXPECT_EQ(dialogs_.MessageTexts(), QStringList{QStringLiteral("Error: Out of Memory")});
  EXPECT_EQ(output_.Calls(), (Calls{"Open(11025)", "Close"}));
  EXPECT_FALSE(engine_->Playing());
  EXPECT_EQ(engine_->SegmentsPending(), 0);

  dialogs_.ClearCalls();
  engine_->SetAllocationFaults({});
  output_.SetWriteFails(true);
  engine_->StartPlayback();
  EXPECT_FALSE(output_.IsOpen() || engine_->Playing());
  EXPECT_EQ(engine_->SegmentsPending(), 0);
  output_.SetWriteFails(false);
  engine_->StartPlayback();
  output_.SetWriteFails(true);
  output_.Finish();
  DeliverReturnedBuffers();
  ExpectEnded();
  EXPECT_TRUE(dialogs_.Calls().isEmpty());

  // A buffer back that the engine never gave out is reported and changes nothing.
  view_.calls.clear();
  output_.ClearCalls();
  Q_EMIT output_.BufferDone();
  EXPECT_EQ(dialogs_.MessageTexts(),
            QStringList{QStringLiteral("Error: Can't unprepare OUT Header")});
  EXPECT_TRUE(view_.calls.empty());
  EXPECT_TRUE(output_.Calls().empty());
}

}  // namespace
}  // namespace kiv
