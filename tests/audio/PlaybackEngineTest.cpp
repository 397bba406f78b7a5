// The playback engine against real cassette files and the fake output device: how a message is
// cut into segments and which bytes each holds, where the play head is after every move, pause,
// stop and end, the speed steps, the skips, the progress tick, and every failure of the device.
//
// Nothing waits for time: a test plays bytes on the fake device, calls the tick handler itself
// and then lets the returned buffers arrive.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QCoreApplication>
#include <QEvent>
#include <QStringList>
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "AudioTestSupport.h"
#include "audio/PlaybackEngine.h"
#include "cassette/Cassette.h"
#include "platform/FakeAudioOutput.h"
#include "platform/FakeDialogs.h"

namespace kiv {
namespace {

using PlayBytes = std::vector<uint8_t>;

// Sound in which every stretch of a few bytes occurs once, so a segment that starts a byte too
// early or too late cannot match by accident.
PlayBytes PlayNoise(size_t count, uint32_t seed) {
  PlayBytes bytes(count);
  uint32_t state = seed * 2654435761u + 1;
  for (uint8_t& b : bytes) {
    state = state * 1664525u + 1013904223u;
    b = uint8_t(state >> 24);
  }
  return bytes;
}

void PlayPutU32(PlayBytes* out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out->push_back(uint8_t(v >> (8 * i)));
}

// A cassette written byte by byte: the messages' sound back to back, FE FE FE FE, the rate,
// then one 140-byte entry (number, start, end, 128-byte name) per message.
PlayBytes PlayCassetteBytes(const std::vector<PlayBytes>& messages, uint32_t rate) {
  PlayBytes file;
  for (const PlayBytes& sound : messages) file.insert(file.end(), sound.begin(), sound.end());
  PlayPutU32(&file, 0xFEFEFEFE);
  PlayPutU32(&file, rate);
  uint32_t start = 0;
  uint32_t number = 1;
  for (const PlayBytes& sound : messages) {
    PlayPutU32(&file, number++);
    PlayPutU32(&file, start);
    start += uint32_t(sound.size());
    PlayPutU32(&file, start);
    PlayBytes name(128, 0x20);
    const std::string text = "message";
    std::copy(text.begin(), text.end(), name.begin());
    name[text.size()] = 0x0D;
    std::fill(name.begin() + 124, name.end(), 0xFC);
    file.insert(file.end(), name.begin(), name.end());
  }
  return file;
}

PlayBytes PlaySlice(const PlayBytes& bytes, size_t from, size_t count) {
  return PlayBytes(bytes.begin() + std::ptrdiff_t(from),
                   bytes.begin() + std::ptrdiff_t(from + count));
}

// Compares without printing a megabyte when they differ.
::testing::AssertionResult PlaySameBytes(const PlayBytes& actual, const PlayBytes& expected) {
  if (actual.size() != expected.size()) {
    return ::testing::AssertionFailure()
           << "size " << actual.size() << " instead of " << expected.size();
  }
  for (size_t i = 0; i < actual.size(); ++i) {
    if (actual[i] != expected[i]) {
      return ::testing::AssertionFailure() << "first difference at byte " << i;
    }
  }
  return ::testing::AssertionSuccess();
}

using test::PlayRecordingView;

class PlaybackEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/kivrec-play-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern + "/";
    std::filesystem::create_directory(root_ + "data");
    std::filesystem::create_directory(root_ + "tmp");
  }
  void TearDown() override {
    engine_.reset();
    cassette_.reset();
    std::filesystem::remove_all(root_);
  }

  // Writes a cassette of these messages, opens it, selects message `selected` and builds the
  // engine on it.
  void Load(const std::vector<PlayBytes>& messages, uint32_t selected = 1, uint32_t rate = 11025) {
    // A second cassette in one test: the old engine closes its device first and its buffer's
    // return must not reach the new one.
    engine_.reset();
    cassette_.reset();
    DeliverReturnedBuffers();
    output_.ClearCalls();
    messages_ = messages;
    const std::string path = root_ + "data/kivrec.cst";
    {
      const PlayBytes file = PlayCassetteBytes(messages, rate);
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    }
    cassette_ = std::make_unique<Cassette>(
        CassetteEnvironment{root_ + "data/", SystemLocalTime});
    ASSERT_EQ(cassette_->OpenCassette(path), OpenOutcome::Opened);
    ASSERT_TRUE(cassette_->SelectMessage(selected).ok());
    engine_ = std::make_unique<PlaybackEngine>(*cassette_, output_, dialogs_, view_);
  }

  // The sound of the selected message from `offset` bytes into it.
  PlayBytes SoundFrom(uint32_t offset, size_t count) const {
    return PlaySlice(messages_.at(cassette_->CurrentMessage() - 1), offset, count);
  }
  uint32_t Start() const { return cassette_->MessageStart(); }
  // The effective play head, relative to the message start.
  uint32_t Head() const { return cassette_->PlayPosition + cassette_->SegmentPlayed - Start(); }

  // Returned buffers are queued signals. Only those are delivered, not timers, so Timer2 can
  // never tick behind a test's back however slow the machine is.
  static void DeliverReturnedBuffers() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
  }

  std::vector<std::string> Writes() const {
    std::vector<std::string> writes;
    for (const std::string& call : output_.Calls()) {
      if (call.rfind("Write(", 0) == 0) writes.push_back(call);
    }
    return writes;
  }
  bool Called(const std::string& call) const {
    return std::find(view_.calls.begin(), view_.calls.end(), call) != view_.calls.end();
  }

  // After a playback ended: nothing playing, nothing pending, the device closed and the idle
  // panel restored.
  void ExpectEnded() {
    EXPECT_FALSE(engine_->Playing());
    EXPECT_FALSE(engine_->PlayPaused());
    EXPECT_FALSE(engine_->StopRequested());
    EXPECT_EQ(engine_->SegmentsPending(), 0);
    EXPECT_FALSE(engine_->Timer2Running());
    EXPECT_FALSE(output_.IsOpen());
    EXPECT_TRUE(engine_->OutputBuffer().isEmpty());
    EXPECT_EQ(cassette_->PlayRate, cassette_->BaseRate());
    EXPECT_EQ(cassette_->SegmentPlayed, 0u);
    EXPECT_TRUE(cassette_->CassetteStreamClosed());
    EXPECT_TRUE(Called("StopWheels"));
    EXPECT_TRUE(Called("ShowIdleFace"));
    EXPECT_TRUE(Called("EnableMessageMenuItems(true)"));
    EXPECT_TRUE(Called("DrawIdleLine"));
    EXPECT_EQ(view_.availability[PanelControl::Play], Availability::Available);
  }

  std::string root_;
  std::vector<PlayBytes> messages_;
  FakeAudioOutput output_;
  FakeDialogs dialogs_;
  PlayRecordingView view_;
  std::unique_ptr<Cassette> cassette_;
  std::unique_ptr<PlaybackEngine> engine_;
};

// ---- Segments ---------------------------------------------------------------------------

TEST_F(PlaybackEngineTest, AShortMessagePlaysAsOneSegmentAndEndsWithItsBuffer) {
  Load({PlayNoise(5000, 1), PlayNoise(3000, 2)});
  engine_->StartPlayback();

  EXPECT_EQ(output_.Calls(), (std::vector<std::string>{"Open(11025)", "Write(5000)"}));
  EXPECT_TRUE(PlaySameBytes(test::BytesOf(output_.Buffer()), SoundFrom(0, 5000)));
  EXPECT_EQ(engine_->SegmentsPending(), 1);
  EXPECT_TRUE(engine_->Playing());
  EXPECT_TRUE(engine_->Timer2Running());
  EXPECT_EQ(view_.calls, (std::vector<std::string>{"ApplyAvailability",
                                                   "EnableMessageMenuItems(false)"}));
  EXPECT_EQ(view_.availability[PanelControl::Play], Availability::Running);
  EXPECT_EQ(view_.availability[PanelControl::NextMessage], Availability::Unavailable);

  output_.Finish();
  DeliverReturnedBuffers();
  ExpectEnded();
  EXPECT_EQ(Writes().size(), 1u);
  EXPECT_EQ(cassette_->PlayPosition, cassette_->MessageEnd());
  // Message 1 of 2: only the next message can be chosen.
  EXPECT_EQ(view_.availability[PanelControl::NextMessage], Availability::Available);
  EXPECT_EQ(view_.availability[PanelControl::PreviousMessage], Availability::Unavailable);
  EXPECT_TRUE(dialogs_.Calls().isEmpty());
}

TEST_F(PlaybackEngineTest, AThreeMillionByteMessagePlaysAsTwoFullSegmentsAndTheRest) {
  Load({PlayNoise(1000, 3), PlayNoise(3000000, 4)}, 2);
  ASSERT_EQ(Start(), 1000u);
  engine_->StartPlayback();
  EXPECT_EQ(engine_->SegmentsPending(), 2);
  EXPECT_TRUE(PlaySameBytes(test::BytesOf(output_.Buffer()), SoundFrom(0, 1048576)));

  // The boundary is crossed without a tick at the very end: the next segment still starts at
  // the byte after the last one the device played.
  output_.Play(1000000);
  engine_->ProgressTick();
  output_.Finish();
  DeliverReturnedBuffers();
  EXPECT_EQ(cassette_->PlayPosition, Start() + 1048576);
  EXPECT_EQ(engine_->SegmentsPending(), 2);
  EXPECT_TRUE(PlaySameBytes(test::BytesOf(output_.Buffer()), SoundFrom(1048576, 1048576)));

  output_.Finish();
  DeliverReturnedBuffers();
  EXPECT_EQ(cassette_->PlayPosition, Start() + 2097152);
  EXPECT_EQ(engine_->SegmentsPending(), 1);
  EXPECT_TRUE(PlaySameBytes(test::BytesOf(output_.Buffer()), SoundFrom(2097152, 902848)));
  EXPECT_TRUE(engine_->Playing());

  output_.Finish();
  DeliverReturnedBuffers();
  ExpectEnded();
  EXPECT_EQ(Writes(), (std::vector<std::string>{"Write(1048576)", "Write(1048576)",
                                                "Write(902848)"}));
  EXPECT_EQ(output_.BuffersDone(), 3);
  EXPECT_EQ(cassette_->PlayPosition, cassette_->MessageEnd());
}

TEST_F(PlaybackEngineTest, OneByteMoreThanASegmentNeedsASecondOne) {
  Load({PlayNoise(1048577, 5)});
  engine_->StartPlayback();
  EXPECT_EQ(engine_->SegmentsPending(), 2);
  output_.Finish();
  DeliverReturnedBuffers();
  EXPECT_EQ(engine_->SegmentsPending(), 1);
  EXPECT_TRUE(PlaySameBytes(test::BytesOf(output_.Buffer()), SoundFrom(1048576, 1)));
  output_.Finish();
  DeliverReturnedBuffers();
  ExpectEnded();
  EXPECT_EQ(Writes(), (std::vector<std::string>{"Write(1048576)", "Write(1)"}));
}

TEST_F(PlaybackEngineTest, ExactlyOneSegmentOfSoundIsOneSegment) {
  Load({PlayNoise(1048576, 6)});
  engine_->StartPlayback();
  EXPECT_EQ(engine_->SegmentsPending(), 1);
  output_.Finish();
  DeliverReturnedBuffers();
  ExpectEnded();
  EXPECT_EQ(Writes().size(), 1u);
}

TEST_F(PlaybackEngineTest, PlayAtTheEndOfTheMessageDoesNothing) {
  Load({PlayNoise(4000, 7)});
  cassette_->PlayPosition = cassette_->MessageEnd();
  engine_->StartPlayback();
  EXPECT_TRUE(output_.Calls().empty());
  EXPECT_FALSE(engine_->Playing());
  EXPECT_EQ(engine_->SegmentsPending(), 0);
  EXPECT_TRUE(view_.calls.empty());
}

TEST_F(PlaybackEngineTest, PlayStartsAtTheEffectivePositionAndFoldsIt) {
  Load({PlayNoise(9000, 8)});
  cassette_->PlayPosition = Start() + 1000;
  cassette_->SegmentPlayed = 500;
  engine_->StartPlayback();
  EXPECT_EQ(cassette_->PlayPosition, Start() + 1500);
  EXPECT_EQ(cassette_->SegmentPlayed, 0u);
  EXPECT_TRUE(PlaySameBytes(test::BytesOf(output_.Buffer()), SoundFrom(1500, 7500)));
}

TEST_F(PlaybackEngineTest, PlayWhilePlayingLeavesTheRunningPlaybackAlone) {
  Load({PlayNoise(9000, 9)});
  engine_->StartPlayback();
  output_.Play(100);
  engine_->StartPlayback();
  EXPECT_EQ(output_.Calls().size(), 2u);
  EXPECT_EQ(engine_->SegmentsPending(), 1);
}

// ---- Progress ---------------------------------------------------------------------------

TEST_F(PlaybackEngineTest, TheTickShowsTheCounterAndHandsOnTheBytesPlayedSinceTheLastTick) {
  // Two seconds of another message first: the counter counts from this message's start.
  Load({PlayNoise(22050, 10), PlayNoise(5 * 11025 + 300, 11)}, 2);
  engine_->StartPlayback();
  view_.calls.clear();

  output_.Play(551);
  engine_->ProgressTick();
  EXPECT_EQ(view_.calls, (std::vector<std::string>{"ShowCounter(5,0)", "DrawPlaybackTrace(551)"}));
  EXPECT_TRUE(PlaySameBytes(view_.traces.back(), SoundFrom(0, 551)));
  EXPECT_EQ(cassette_->SegmentPlayed, 551u);
  EXPECT_TRUE(engine_->Timer2Running());

  output_.Play(22050);
  engine_->ProgressTick();
  // The counter shows where the previous tick left the head; the trace what came since.
  EXPECT_EQ(view_.calls.at(2), "ShowCounter(5,0)");
  EXPECT_TRUE(PlaySameBytes(view_.traces.back(), SoundFrom(551, 22050)));

  engine_->ProgressTick();
  EXPECT_EQ(view_.calls.at(4), "ShowCounter(5,2)");
  EXPECT_TRUE(view_.traces.back().empty());
  EXPECT_EQ(Head(), 22601u);
}

TEST_F(PlaybackEngineTest, DuringFastPlayTheCounterCountsSecondsOfTape) {
  Load({PlayNoise(10 * 11025, 12)});
  engine_->StartPlayback();
  engine_->FasterStep();
  DeliverReturnedBuffers();
  ASSERT_EQ(output_.Rate(), 12049u);
  // One second of the device's clock plays 12049 bytes: more than a second of tape.
  output_.Play(12049);
  engine_->ProgressTick();
  output_.Play(12049);
  engine_->ProgressTick();
  engine_->ProgressTick();
  EXPECT_EQ(view_.calls.back(), "DrawPlaybackTrace(0)");
  EXPECT_EQ(view_.calls.at(view_.calls.size() - 2), "ShowCounter(10,2)");
  EXPECT_EQ(Head(), 2u * 12049u);
}

TEST_F(PlaybackEngineTest, TheTickDoesNothingWhenNoSegmentPlays) {
  Load({PlayNoise(4000, 13)});
  engine_->ProgressTick();
  EXPECT_TRUE(view_.calls.empty());
  EXPECT_FALSE(engine_->Timer2Running());
}

// ---- Pause and stop ---------------------------------------------------------------------

TEST_F(PlaybackEngineTest, ResumeContinuesAtTheByteWhereTheDeviceStopped) {
  Load({PlayNoise(40000, 14)});
  engine_->StartPlayback();
  output_.Play(3000);
  engine_->ProgressTick();
  // Played after the last tick, before the pause: still heard, so not played again.
  output_.Play(500);
  view_.calls.clear();

  engine_->TogglePause();
  EXPECT_TRUE(engine_->PlayPaused());
  EXPECT_TRUE(engine_->Playing());
  EXPECT_TRUE(output_.IsPaused());
  EXPECT_FALSE(engine_->Timer2Running());
  EXPECT_EQ(view_.calls,
            (std::vector<std::string>{"ShowPausedFace", "PauseWheels", "DrawIdleLine"}));
  EXPECT_EQ(output_.Play(100), 0u);
  // While paused the head tells the exact place, for whoever shows or moves it.
  EXPECT_EQ(Head(), 3500u);
  // A tick that comes anyway neither draws nor starts the timer again.
  engine_->ProgressTick();
  EXPECT_EQ(view_.calls.size(), 3u);
  EXPECT_FALSE(engine_->Timer2Running());

  output_.ClearCalls();
  view_.calls.clear();
  engine_->TogglePause();
  EXPECT_FALSE(engine_->PlayPaused());
  EXPECT_EQ(engine_->SegmentsPending(), 2);
  EXPECT_EQ(output_.Calls(), (std::vector<std::string>{"Restart", "Reset"}));
  EXPECT_EQ(view_.calls,
            (std::vector<std::string>{"ShowCounter(3,0)", "ShowPlayingFace", "ResumeWheels"}));
  DeliverReturnedBuffers();

  EXPECT_EQ(output_.Calls(), (std::vector<std::string>{"Restart", "Reset", "Reset", "Close",
                                                       "Open(11025)", "Write(36500)"}));
  EXPECT_EQ(cassette_->PlayPosition, Start() + 3500);
  EXPECT_TRUE(PlaySameBytes(test::BytesOf(output_.Buffer()), SoundFrom(3500, 36500)));
  EXPECT_EQ(engine_->SegmentsPending(), 1);
  EXPECT_TRUE(engine_->Timer2Running());

  output_.Finish();
  DeliverReturnedBuffers();
  ExpectEnded();
}

TEST_F(PlaybackEngineTest, ResumingEndsSlowPlay) {
  Load({PlayNoise(40000, 15)});
  engine_->StartPlayback();
  engine_->SlowerStep();
  DeliverReturnedBuffers();
  ASSERT_EQ(output_.Rate(), 10001u);
  output_.Play(2000);
  engine_->TogglePause();
  engine_->TogglePause();
  DeliverReturnedBuffers();
  EXPECT_EQ(cassette_->PlayRate, 11025u);
  EXPECT_EQ(output_.Rate(), 11025u);
  EXPECT_TRUE(PlaySameBytes(test::BytesOf(output_.Buffer()), SoundFrom(2000, 38000)));
}

TEST_F(PlaybackEngineTest, StopEndsThePlaybackWhenItsBufferIsBack) {
  Load({PlayNoise(40000, 16), PlayNoise(100, 17)});
  engine_->StartPlayback();
  output_.Play(4000);
  engine_->ProgressTick();
  output_.Play(123);
  view_.calls.clear();

  engine_->StopPlayback();
  EXPECT_TRUE(engine_->StopRequested());
  EXPECT_TRUE(engine_->Playing());
  EXPECT_FALSE(engine_->Timer2Running());
  EXPECT_EQ(output_.Calls().back(), "Reset");
  EXPECT_EQ(view_.calls, (std::vector<std::string>{"SetAvailability(2,2)"}));

  DeliverReturnedBuffers();
  ExpectEnded();
  EXPECT_EQ(cassette_->PlayPosition, Start() + 4123);
  EXPECT_EQ(Writes().size(), 1u);
}

TEST_F(PlaybackEngineTest, StopWhilePausedRestartsTheDeviceBeforeResettingIt) {
  Load({PlayNoise(40000, 18)});
  engine_->StartPlayback();
  output_.Play(700);
  engine_->TogglePause();
  output_.ClearCalls();
  engine_->StopPlayback();
  EXPECT_EQ(output_.Calls(), (std::vector<std::string>{"Restart", "Reset"}));
  EXPECT_FALSE(engine_->PlayPaused());
  DeliverReturnedBuffers();
  ExpectEnded();
  EXPECT_EQ(cassette_->PlayPosition, Start() + 700);
}

TEST_F(PlaybackEngineTest, AutoRewindOnStopReturnsToTheStartAfterTheEndAndAfterStop) {
  Load({PlayNoise(500, 19), PlayNoise(30000, 20)}, 2);
  view_.autoRewind = true;
  engine_->StartPlayback();
  output_.Finish();
  DeliverReturnedBuffers();
  ExpectEnded();
  EXPECT_EQ(cassette_->PlayPosition, Start());
  // The counter was last shown at the start.
  EXPECT_EQ(view_.calls.at(view_.calls.size() - 2), "ShowCounter(2,0)");

  engine_->StartPlayback();
  output_.Play(25000);
  engine_->StopPlayback();
  DeliverReturnedBuffers();
  EXPECT_FALSE(engine_->Playing());
  EXPECT_EQ(cassette_->PlayPosition, Start());
}

TEST_F(PlaybackEngineTest, WithoutAutoRewindTheHeadStaysWhereThePlaybackEnded) {
  Load({PlayNoise(500, 21), PlayNoise(30000, 22)}, 2);
  engine_->StartPlayback();
  output_.Finish();
  DeliverReturnedBuffers();
  EXPECT_EQ(cassette_->PlayPosition, cassette_->MessageEnd());
  EXPECT_EQ(view_.calls.at(view_.calls.size() - 2), "ShowCounter(2,2)");
  // So Play again does nothing until the head is moved.
  output_.ClearCalls();
  engine_->StartPlayback();
  EXPECT_TRUE(output_.Calls().empty());
}

// ---- Speed ------------------------------------------------------------------------------

TEST_F(PlaybackEngineTest, FiveFasterStepsStopAtTheLastOfFour) {
  Load({PlayNoise(200000, 23)});
  engine_->StartPlayback();
  std::vector<uint32_t> rates;
  for (int i = 0; i < 5; ++i) {
    output_.Play(1000);
    engine_->FasterStep();
    DeliverReturnedBuffers();
    rates.push_back(output_.Rate());
  }
  EXPECT_EQ(cassette_->PlayRate, 15121u);
  EXPECT_EQ(rates, (std::vector<uint32_t>{12049, 13073, 14097, 15121, 15121}));
  // The fifth step changed nothing, so it did not restart the device either.
  EXPECT_EQ(Writes().size(), 5u);
  // Every restart went on at the byte reached: 4 × 1000 bytes, plus the last 1000 still playing.
  EXPECT_EQ(cassette_->PlayPosition, Start() + 4000);
  EXPECT_TRUE(PlaySameBytes(test::BytesOf(output_.Buffer()), SoundFrom(4000, 196000)));
  EXPECT_EQ(engine_->SegmentsPending(), 1);
}

TEST_F(PlaybackEngineTest, FiveSlowerStepsStopAtTheLastOfFour) {
  Load({PlayNoise(200000, 24)});
  engine_->StartPlayback();
  std::vector<uint32_t> rates;
  for (int i = 0; i < 5; ++i) {
    engine_->SlowerStep();
    DeliverReturnedBuffers();
    rates.push_back(output_.Rate());
  }
  EXPECT_EQ(cassette_->PlayRate, 6929u);
  EXPECT_EQ(rates, (std::vector<uint32_t>{10001, 8977, 7953, 6929, 6929}));
}

TEST_F(PlaybackEngineTest, SpeedStepsFollowTheBaseRate) {
  Load({PlayNoise(200000, 25)}, 1, 22050);
  engine_->StartPlayback();
  for (int i = 0; i < 5; ++i) engine_->FasterStep();
  EXPECT_EQ(cassette_->PlayRate, 30242u);
  for (int i = 0; i < 10; ++i) engine_->SlowerStep();
  EXPECT_EQ(cassette_->PlayRate, 13858u);
  DeliverReturnedBuffers();
  EXPECT_EQ(output_.Rate(), 13858u);

  Load({PlayNoise(200000, 26)}, 1, 44100);
  engine_->StartPlayback();
  for (int i = 0; i < 5; ++i) engine_->FasterStep();
  EXPECT_EQ(cassette_->PlayRate, 60484u);
  for (int i = 0; i < 10; ++i) engine_->SlowerStep();
  EXPECT_EQ(cassette_->PlayRate, 27716u);
}

TEST_F(PlaybackEngineTest, TheEndOfAFastPlaybackRestoresTheBaseRate) {
  Load({PlayNoise(30000, 27)});
  engine_->StartPlayback();
  engine_->FasterStep();
  DeliverReturnedBuffers();
  output_.Finish();
  DeliverReturnedBuffers();
  ExpectEnded();
  EXPECT_EQ(cassette_->PlayRate, 11025u);
}

TEST_F(PlaybackEngineTest, SpeedStepsAndSkipsDoNothingWithoutAPlayback) {
  Load({PlayNoise(30000, 28)});
  engine_->FasterStep();
  engine_->SlowerStep();
  engine_->SkipForward();
  engine_->SkipBack();
  engine_->RequestRestart();
  EXPECT_EQ(cassette_->PlayRate, 11025u);
  EXPECT_EQ(cassette_->PlayPosition, Start());
  EXPECT_TRUE(output_.Calls().empty());
  EXPECT_EQ(engine_->SegmentsPending(), 0);
}

// ---- Skips and moves --------------------------------------------------------------------

TEST_F(PlaybackEngineTest, SkipForwardMovesOneSecondAndEndsFastPlay) {
  Load({PlayNoise(100000, 29)});
  engine_->StartPlayback();
  engine_->FasterStep();
  DeliverReturnedBuffers();
  output_.Play(2000);
  view_.calls.clear();
  engine_->SkipForward();
  EXPECT_EQ(cassette_->PlayPosition, Start() + 2000 + 11025);
  EXPECT_EQ(cassette_->PlayRate, 11025u);
  EXPECT_EQ(view_.calls, (std::vector<std::string>{"ShowCounter(9,1)"}));
  EXPECT_EQ(output_.Calls().back(), "Reset");
  DeliverReturnedBuffers();
  EXPECT_EQ(output_.Rate(), 11025u);
  EXPECT_TRUE(PlaySameBytes(test::BytesOf(output_.Buffer()), SoundFrom(13025, 100000 - 13025)));
}

TEST_F(PlaybackEngineTest, SkipForwardWithinTheLastSecondOnlyRestarts) {
  Load({PlayNoise(20000, 30)});
  engine_->StartPlayback();
  output_.Play(9000);
  engine_->SkipForward();
  EXPECT_EQ(cassette_->PlayPosition, Start() + 9000);
  DeliverReturnedBuffers();
  EXPECT_TRUE(PlaySameBytes(test::BytesOf(output_.Buffer()), SoundFrom(9000, 11000)));

  // Exactly one second before the end still moves, to the end itself, which ends the playback.
  engine_->SkipBack();
  DeliverReturnedBuffers();
  ASSERT_EQ(cassette_->PlayPosition, Start());
  output_.Play(20000 - 11025);
  engine_->SkipForward();
  EXPECT_EQ(cassette_->PlayPosition, cassette_->MessageEnd());
  DeliverReturnedBuffers();
  ExpectEnded();
  EXPECT_EQ(cassette_->PlayPosition, cassette_->MessageEnd());
}

TEST_F(PlaybackEngineTest, SkipBackWithinTheFirstSecondGoesToTheStart) {
  Load({PlayNoise(300, 31), PlayNoise(50000, 32)}, 2);
  engine_->StartPlayback();
  output_.Play(11024);
  engine_->SkipBack();
  EXPECT_EQ(cassette_->PlayPosition, Start());
  DeliverReturnedBuffers();
  EXPECT_TRUE(PlaySameBytes(test::BytesOf(output_.Buffer()), SoundFrom(0, 50000)));

  output_.Play(15000);
  engine_->SkipBack();
  EXPECT_EQ(cassette_->PlayPosition, Start() + 15000 - 11025);
  DeliverReturnedBuffers();
  EXPECT_TRUE(PlaySameBytes(test::BytesOf(output_.Buffer()), SoundFrom(3975, 50000 - 3975)));
}

TEST_F(PlaybackEngineTest, ARestartInALongMessageStillEndsAfterItsLastByte) {
  Load({PlayNoise(3000000, 33)});
  engine_->StartPlayback();
  output_.Play(1000);
  engine_->SkipForward();
  DeliverReturnedBuffers();
  // Each restart counts one pending segment more than the tape holds; the end absorbs it.
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(engine_->Playing());
    output_.Finish();
    DeliverReturnedBuffers();
  }
  ExpectEnded();
  EXPECT_EQ(Writes(), (std::vector<std::string>{"Write(1048576)", "Write(1048576)",
                                                "Write(1048576)", "Write(890823)"}));
  EXPECT_EQ(output_.Calls().back(), "Close");
  EXPECT_EQ(cassette_->PlayPosition, cassette_->MessageEnd());
}

TEST_F(PlaybackEngineTest, ASeekFromTheTransportRestartsAtTheNewPlace) {
  Load({PlayNoise(60000, 34)});
  engine_->StartPlayback();
  output_.Play(3000);
  engine_->ProgressTick();
  output_.Play(50);
  // A wheel step relative to the byte being heard: fold first, then move.
  engine_->FoldPosition();
  EXPECT_EQ(cassette_->PlayPosition, Start() + 3050);
  EXPECT_EQ(cassette_->SegmentPlayed, 0u);
  cassette_->PlayPosition += 11025;
  engine_->RequestRestart();
  DeliverReturnedBuffers();
  EXPECT_TRUE(PlaySameBytes(test::BytesOf(output_.Buffer()), SoundFrom(14075, 60000 - 14075)));

  // An absolute move written straight into the head is taken as it is.
  output_.Play(800);
  engine_->ProgressTick();
  output_.Play(10);
  cassette_->PlayPosition = Start() + 100;
  cassette_->SegmentPlayed = 0;
  engine_->RequestRestart();
  DeliverReturnedBuffers();
  EXPECT_TRUE(PlaySameBytes(test::BytesOf(output_.Buffer()), SoundFrom(100, 59900)));
}

TEST_F(PlaybackEngineTest, ARateChangeAloneContinuesAtTheByteReached) {
  Load({PlayNoise(60000, 35)});
  engine_->StartPlayback();
  engine_->FasterStep();
  DeliverReturnedBuffers();
  output_.Play(5000);
  // Play during fast play: back to normal speed where the tape is.
  cassette_->PlayRate = cassette_->BaseRate();
  engine_->RequestRestart();
  DeliverReturnedBuffers();
  EXPECT_EQ(output_.Rate(), 11025u);
  EXPECT_TRUE(PlaySameBytes(test::BytesOf(output_.Buffer()), SoundFrom(5000, 55000)));
}

TEST_F(PlaybackEngineTest, ARestartWhilePausedPlaysOnFromTheNewPlace) {
  Load({PlayNoise(60000, 36)});
  engine_->StartPlayback();
  output_.Play(1000);
  engine_->TogglePause();
  view_.calls.clear();
  engine_->FoldPosition();
  cassette_->PlayPosition = Start() + 30000;
  engine_->RequestRestart();
  EXPECT_FALSE(engine_->PlayPaused());
  EXPECT_EQ(view_.calls, (std::vector<std::string>{"ShowPlayingFace", "ResumeWheels"}));
  DeliverReturnedBuffers();
  EXPECT_FALSE(output_.IsPaused());
  EXPECT_TRUE(PlaySameBytes(test::BytesOf(output_.Buffer()), SoundFrom(30000, 30000)));
  EXPECT_EQ(output_.Play(10), 10u);
}

// ---- Failures ---------------------------------------------------------------------------

struct PlayOpenError {
  int code;
  const char* caption;
  const char* text;
};

class PlaybackOpenErrorTest : public PlaybackEngineTest,
                              public ::testing::WithParamInterface<PlayOpenError> {};

TEST_P(PlaybackOpenErrorTest, ARefusedOpenShowsItsBoxAndLeavesTheTransportIdle) {
  Load({PlayNoise(4000, 37)});
  output_.QueueOpenResult(GetParam().code);
  engine_->StartPlayback();

  ASSERT_EQ(dialogs_.Calls().size(), 1);
  const FakeDialogs::Call& box = dialogs_.Calls().front();
  EXPECT_EQ(box.kind, FakeDialogs::Kind::MessageBox);
  EXPECT_EQ(box.caption, QString::fromUtf8(GetParam().caption));
  EXPECT_EQ(box.text, QString::fromUtf8(GetParam().text));
  EXPECT_EQ(box.flags, MB_ICONHAND);
  EXPECT_EQ(output_.Calls(), (std::vector<std::string>{"Open(11025)", "Close"}));
  EXPECT_FALSE(output_.IsOpen());
  EXPECT_FALSE(engine_->Playing());
  EXPECT_EQ(engine_->SegmentsPending(), 0);
  EXPECT_FALSE(engine_->Timer2Running());
  EXPECT_TRUE(view_.calls.empty());
}

INSTANTIATE_TEST_SUITE_P(
    EveryKnownCode, PlaybackOpenErrorTest,
    ::testing::Values(
        PlayOpenError{4, "Kiv Sound Recorder - Error #01",
                      "Kiv Sound Recorder can not start playback because access to the sound "
                      "card output is blocked by another program.\r\nYou have to close that "
                      "program first and then try again."},
        PlayOpenError{2, "Kiv Sound Recorder - Error #02",
                      "Windows reported an error associated with the sound card so Kiv Sound "
                      "Recorder can not start playback.\r\nCheck your sound card and look for "
                      "possible conflicts in Device Manager.\r\nRestart your computer if "
                      "necessary."},
        PlayOpenError{6, "Kiv Sound Recorder - Error #03",
                      "Kiv Sound Recorder can not start playback because sound card driver is "
                      "not present.\r\nCheck your system configuration, install the missing "
                      "driver and make sure there are no conflicts with other hardware devices."},
        PlayOpenError{7, "Kiv Sound Recorder - Error #04",
                      "There is not enough memory for Kiv Sound Recorder to start playback.\r\n"
                      "Close some programs and try again.\r\nRestart your computer if "
                      "necessary."},
        PlayOpenError{32, "Kiv Sound Recorder - Error #05",
                      "Kiv Sound Recorder can not start playback because your sound card does "
                      "not support audio format used for recording. Upgrading sound card driver "
                      "if newer version is available might help. Contact sound card vendor if "
                      "necessary."},
        PlayOpenError{35, "Kiv Sound Recorder - Error #06",
                      "The device is synchronous but WAVE_ALLOWSYNC flag was not used."},
        PlayOpenError{99, "Kiv Sound Recorder - Error",
                      "Kiv Sound Recorder can not start playback because the sound card output "
                      "reported error 99.\r\nCheck your sound card and try again."}));

TEST_F(PlaybackEngineTest, ARefusedOpenBetweenSegmentsEndsThePlayback) {
  Load({PlayNoise(1500000, 38)});
  engine_->StartPlayback();
  output_.QueueOpenResult(4);
  output_.Finish();
  DeliverReturnedBuffers();
  ExpectEnded();
  ASSERT_EQ(dialogs_.Calls().size(), 1);
  EXPECT_EQ(dialogs_.Calls().front().caption, QStringLiteral("Kiv Sound Recorder - Error #01"));
  // The first segment was heard in full.
  EXPECT_EQ(cassette_->PlayPosition, Start() + 1048576);
}

TEST_F(PlaybackEngineTest, NoMemoryForTheBufferSaysSoAndClosesTheDevice) {
  Load({PlayNoise(4000, 39)});
  qsizetype asked = 0;
  engine_->SetAllocationFaults([&](qsizetype size) {
    asked = size;
    return true;
  });
  engine_->StartPlayback();
  EXPECT_EQ(asked, 4000);
  EXPECT_EQ(dialogs_.MessageTexts(), QStringList{QStringLiteral("Error: Out of Memory")});
  EXPECT_EQ(dialogs_.Calls().front().kind, FakeDialogs::Kind::ShowMessage);
  EXPECT_EQ(output_.Calls(), (std::vector<std::string>{"Open(11025)", "Close"}));
  EXPECT_FALSE(engine_->Playing());
  EXPECT_EQ(engine_->SegmentsPending(), 0);
  EXPECT_TRUE(engine_->OutputBuffer().isEmpty());
}

TEST_F(PlaybackEngineTest, NoMemoryBetweenSegmentsEndsThePlayback) {
  Load({PlayNoise(2500000, 40)});
  engine_->StartPlayback();
  engine_->SetAllocationFaults([](qsizetype) { return true; });
  output_.Finish();
  DeliverReturnedBuffers();
  ExpectEnded();
  EXPECT_EQ(dialogs_.MessageTexts(), QStringList{QStringLiteral("Error: Out of Memory")});
}

TEST_F(PlaybackEngineTest, ARefusedWriteStartsNothingAndSaysNothing) {
  Load({PlayNoise(2000000, 41)});
  output_.SetWriteFails(true);
  engine_->StartPlayback();
  EXPECT_TRUE(dialogs_.Calls().isEmpty());
  EXPECT_FALSE(output_.IsOpen());
  EXPECT_FALSE(engine_->Playing());
  EXPECT_EQ(engine_->SegmentsPending(), 0);
  EXPECT_TRUE(engine_->OutputBuffer().isEmpty());

  // Between segments a refused write ends the playback, again without a word.
  output_.SetWriteFails(false);
  engine_->StartPlayback();
  output_.SetWriteFails(true);
  output_.Finish();
  DeliverReturnedBuffers();
  ExpectEnded();
  EXPECT_TRUE(dialogs_.Calls().isEmpty());
}

TEST_F(PlaybackEngineTest, ABufferThatIsNotOursIsReportedAndChangesNothing) {
  Load({PlayNoise(4000, 42)});
  Q_EMIT output_.BufferDone();
  EXPECT_EQ(dialogs_.MessageTexts(),
            QStringList{QStringLiteral("Error: Can't unprepare OUT Header")});
  EXPECT_TRUE(view_.calls.empty());
  EXPECT_TRUE(output_.Calls().empty());
  EXPECT_EQ(cassette_->PlayPosition, Start());
}

TEST_F(PlaybackEngineTest, DestroyingTheEngineClosesARunningDevice) {
  Load({PlayNoise(4000, 43)});
  engine_->StartPlayback();
  ASSERT_TRUE(output_.IsOpen());
  engine_.reset();
  EXPECT_FALSE(output_.IsOpen());
  // The buffer's return finds nobody listening.
  DeliverReturnedBuffers();
  EXPECT_TRUE(dialogs_.Calls().isEmpty());
}

}  // namespace
}  // namespace kiv
