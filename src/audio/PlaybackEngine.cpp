// Playback in segments: start, the returned buffer, the progress tick, the restart protocol and
// the moves built on it (pause, stop, speed steps, skips).
#include "audio/PlaybackEngine.h"

#include <algorithm>
#include <new>

#include "audio/PlaybackView.h"
#include "cassette/Cassette.h"
#include "cassette/PlayHead.h"
#include "platform/AudioDevices.h"
#include "platform/Dialogs.h"
#include "transport/ControlAvailability.h"

namespace kiv {
namespace {

struct OpenErrorBox {
  int code;
  const char16_t* caption;
  const char16_t* text;
};

// Keyed on the device's result codes; the numbers in the captions are what users quote to us.
constexpr OpenErrorBox kOpenErrorBoxes[] = {
    {kAudioAllocated, u"Kiv Sound Recorder - Error #01",
     u"Kiv Sound Recorder can not start playback because access to the sound card output is "
     u"blocked by another program.\r\nYou have to close that program first and then try again."},
    {kAudioBadDeviceId, u"Kiv Sound Recorder - Error #02",
     u"Windows reported an error associated with the sound card so Kiv Sound Recorder can not "
     u"start playback.\r\nCheck your sound card and look for possible conflicts in Device "
     u"Manager.\r\nRestart your computer if necessary."},
    {kAudioNoDriver, u"Kiv Sound Recorder - Error #03",
     u"Kiv Sound Recorder can not start playback because sound card driver is not present.\r\n"
     u"Check your system configuration, install the missing driver and make sure there are no "
     u"conflicts with other hardware devices."},
    {kAudioNoMem, u"Kiv Sound Recorder - Error #04",
     u"There is not enough memory for Kiv Sound Recorder to start playback.\r\nClose some "
     u"programs and try again.\r\nRestart your computer if necessary."},
    {kAudioBadFormat, u"Kiv Sound Recorder - Error #05",
     u"Kiv Sound Recorder can not start playback because your sound card does not support audio "
     u"format used for recording. Upgrading sound card driver if newer version is available "
     u"might help. Contact sound card vendor if necessary."},
    {kAudioSync, u"Kiv Sound Recorder - Error #06",
     u"The device is synchronous but WAVE_ALLOWSYNC flag was not used."},
};

// Slow and fast play change only the rate the device is opened at: step S and the largest
// deviation D from the base rate, four steps either way.
struct SpeedSteps {
  uint32_t baseRate;
  uint32_t step;
  uint32_t deviation;
};
constexpr SpeedSteps kSpeedSteps[] = {
    {11025, 1024, 4096},
    {22050, 2048, 8192},
    {44100, 4096, 16384},
};

}  // namespace

PlaybackEngine::PlaybackEngine(Cassette& cassette, AudioOutput& output, Dialogs& dialogs,
                               PlaybackView& view, QObject* parent)
    : QObject(parent), cassette_(cassette), output_(output), dialogs_(dialogs), view_(view) {
  Timer2.setInterval(kTimer2Interval);
  connect(&Timer2, &QTimer::timeout, this, &PlaybackEngine::ProgressTick);
  connect(&output_, &AudioOutput::BufferDone, this, &PlaybackEngine::OnOutputDone);
}

PlaybackEngine::~PlaybackEngine() {
  Timer2.stop();
  // The panel is going away with a playback running: the device must not keep playing for
  // nobody. Its buffer comes back to an engine that no longer listens.
  disconnect(&output_, nullptr, this, nullptr);
  if (output_.IsOpen()) {
    output_.Reset();
    output_.Close();
  }
}

// ---- Opening ----------------------------------------------------------------------------

bool PlaybackEngine::OpenOutput(uint32_t rate) {
  const int code = output_.Open(rate);
  if (code == kAudioOk) return true;
  // A refused open may still hold something of the device; Close gives it all back.
  output_.Close();
  ShowOpenError(code);
  return false;
}

void PlaybackEngine::ShowOpenError(int code) {
  for (const OpenErrorBox& box : kOpenErrorBoxes) {
    if (box.code == code) {
      dialogs_.MessageBox(QString::fromUtf16(box.text), QString::fromUtf16(box.caption),
                          MB_OK | MB_ICONHAND);
      return;
    }
  }
  // A code outside the known six still deserves a box the user can act on and quote.
  dialogs_.MessageBox(QStringLiteral("Kiv Sound Recorder can not start playback because the "
                                     "sound card output reported error %1.\r\nCheck your sound "
                                     "card and try again.")
                          .arg(code),
                      QStringLiteral("Kiv Sound Recorder - Error"), MB_OK | MB_ICONHAND);
}

PlaybackEngine::SegmentResult PlaybackEngine::WriteSegment() {
  const PlayHead& head = cassette_.Head();
  const uint32_t remaining = head.Remaining();
  const uint32_t length = std::min(remaining, kMaxSegment);
  try {
    if (allocationFails_ && allocationFails_(qsizetype(length))) throw std::bad_alloc();
    outputBuffer_ = QByteArray(qsizetype(length), Qt::Uninitialized);
  } catch (const std::bad_alloc&) {
    outputBuffer_ = QByteArray();
    dialogs_.ShowMessage(QStringLiteral("Error: Out of Memory"));
    return SegmentResult::OutOfMemory;
  }
  if (remaining > kMaxSegment) segmentsPending_ += 1;

  if (!cassette_.ReadSound(head.Position(), outputBuffer_.data(), length).ok() ||
      !output_.Write(outputBuffer_)) {
    outputBuffer_ = QByteArray();
    return SegmentResult::Failed;
  }
  bufferOut_ = true;
  segmentLive_ = true;
  segmentLength_ = length;
  RememberHead();
  return SegmentResult::Written;
}

void PlaybackEngine::ReleaseDevice() {
  if (output_.IsOpen()) {
    output_.Reset();
    output_.Close();
  }
  outputBuffer_ = QByteArray();
  segmentLive_ = false;
}

// ---- Start, segments, end ---------------------------------------------------------------

void PlaybackEngine::StartPlayback() {
  // The device and its buffer belong to the running playback; the transport pauses, resumes
  // or restarts that one instead.
  if (playing_) return;
  Timer2.stop();
  PlayHead& head = cassette_.Head();
  head.FoldPlayed();
  if (head.Remaining() == 0) return;

  if (!OpenOutput(head.PlayRate())) return;
  if (WriteSegment() != SegmentResult::Written) {
    output_.Close();
    // Nothing plays, so nothing may be pending either.
    segmentsPending_ = 0;
    return;
  }
  segmentsPending_ += 1;
  Timer2.start();
  playing_ = true;
  view_.ApplyAvailability(ControlAvailability::For(
      TransportSituation::Playing, cassette_.MessageCount(), cassette_.CurrentMessage()));
  view_.EnableMessageMenuItems(false);
}

void PlaybackEngine::OnOutputDone() {
  if (bufferOut_) {
    bufferOut_ = false;
    // Cut short or played out, the buffer ended where the device stopped.
    CatchUpWithDevice();
  } else {
    // Nothing of ours was out: this buffer is not one the engine can take back.
    dialogs_.ShowMessage(QStringLiteral("Error: Can't unprepare OUT Header"));
  }
  segmentLive_ = false;

  if (segmentsPending_ >= 2 && !stopRequested_) {
    ReleaseDevice();
    segmentsPending_ -= 1;
    if (playing_) {
      if (ContinueWithNextSegment()) return;
      // A device or memory failure between segments ends the playback instead of leaving it
      // waiting for a buffer that was never written.
      FinishPlayback();
      return;
    }
  }
  if (segmentsPending_ == 1 || stopRequested_) FinishPlayback();
}

bool PlaybackEngine::ContinueWithNextSegment() {
  PlayHead& head = cassette_.Head();
  head.FoldPlayed();
  // More was counted pending than there was tape left (a restart while further segments were
  // expected): the playback has reached the end.
  if (head.Remaining() == 0) {
    segmentsPending_ = 1;
    return false;
  }
  if (!OpenOutput(head.PlayRate())) return false;
  if (WriteSegment() != SegmentResult::Written) {
    output_.Close();
    return false;
  }
  Timer2.start();
  return true;
}

void PlaybackEngine::FinishPlayback() {
  segmentsPending_ = 0;
  PlayHead& head = cassette_.Head();
  head.NormalSpeed();
  Timer2.stop();
  playing_ = false;
  playPaused_ = false;
  stopRequested_ = false;
  ReleaseDevice();

  view_.StopWheels();
  view_.ShowIdleFace();
  // The idle situation answers the next/previous message keys from the counts.
  view_.ApplyAvailability(ControlAvailability::For(TransportSituation::IdleWithMessages,
                                                   cassette_.MessageCount(),
                                                   cassette_.CurrentMessage()));
  view_.EnableMessageMenuItems(true);

  if (view_.AutoRewindOnStop()) {
    head.SeekToStart();
  } else {
    head.FoldPlayed();
  }
  ShowPositionCounter();
  view_.DrawIdleLine();
  // Between operations the file is free for the external converter.
  cassette_.CloseStream();
}

// ---- Progress ---------------------------------------------------------------------------

void PlaybackEngine::ProgressTick() {
  Timer2.stop();
  if (!playing_ || playPaused_ || !segmentLive_) return;

  PlayHead& head = cassette_.Head();
  const uint32_t played = PlayedOnDevice();
  const uint32_t from = head.At();
  const uint32_t fresh = played > head.SegmentPlayed() ? played - head.SegmentPlayed() : 0;
  ShowPositionCounter();

  QByteArray trace(qsizetype(fresh), Qt::Uninitialized);
  if (!cassette_.ReadSound(from, trace.data(), size_t(fresh)).ok()) trace.clear();
  view_.DrawPlaybackTrace(trace);
  head.SetSegmentPlayed(played);
  RememberHead();
  Timer2.start();
}

void PlaybackEngine::ShowPositionCounter() {
  const CounterSeconds counter = cassette_.Head().Seconds();
  view_.ShowCounter(counter.length, counter.position);
}

uint32_t PlaybackEngine::PlayedOnDevice() const {
  return uint32_t(std::min<uint64_t>(output_.Position(), segmentLength_));
}

void PlaybackEngine::CatchUpWithDevice() {
  if (segmentLive_ && HeadUntouched()) {
    cassette_.Head().SetSegmentPlayed(PlayedOnDevice());
    RememberHead();
  }
}

void PlaybackEngine::RememberHead() {
  headPosition_ = cassette_.Head().Position();
  headPlayed_ = cassette_.Head().SegmentPlayed();
}

bool PlaybackEngine::HeadUntouched() const {
  return cassette_.Head().Position() == headPosition_ &&
         cassette_.Head().SegmentPlayed() == headPlayed_;
}

void PlaybackEngine::FoldPosition() {
  CatchUpWithDevice();
  cassette_.Head().FoldPlayed();
  // From here on the device's count no longer belongs to the play head.
  segmentLive_ = false;
}

// ---- Moves while playing ----------------------------------------------------------------

void PlaybackEngine::RequestRestart() {
  if (!playing_) return;
  // A change of rate alone leaves the head where the segment put it; the new segment must
  // start at the byte being heard, not at the last tick.
  CatchUpWithDevice();
  segmentLive_ = false;
  segmentsPending_ += 1;
  Timer2.stop();
  // A paused device would keep its buffer until restarted; the new segment plays either way.
  if (playPaused_) output_.Restart();
  output_.Reset();
  if (playPaused_) {
    playPaused_ = false;
    view_.ShowPlayingFace();
    view_.ResumeWheels();
  }
}

void PlaybackEngine::TogglePause() {
  if (!playing_) return;
  if (!playPaused_) {
    Timer2.stop();
    playPaused_ = true;
    output_.Pause();
    // The byte the device stopped at is where the resume begins.
    CatchUpWithDevice();
    view_.ShowPausedFace();
    view_.PauseWheels();
    view_.DrawIdleLine();
    return;
  }
  // A pause ends slow or fast play.
  cassette_.Head().NormalSpeed();
  FoldPosition();
  ShowPositionCounter();
  RequestRestart();
}

void PlaybackEngine::StopPlayback() {
  if (!playing_) return;
  Timer2.stop();
  CatchUpWithDevice();
  segmentLive_ = false;
  if (playPaused_) output_.Restart();
  output_.Reset();
  playPaused_ = false;
  stopRequested_ = true;
  view_.SetAvailability(PanelControl::Pause, Availability::Unavailable);
}

void PlaybackEngine::ChangeSpeed(int64_t direction) {
  if (!playing_) return;
  PlayHead& head = cassette_.Head();
  const uint32_t base = head.BaseRate();
  for (const SpeedSteps& steps : kSpeedSteps) {
    if (steps.baseRate != base) continue;
    const int64_t rate = int64_t(head.PlayRate()) + direction * int64_t(steps.step);
    if (rate > int64_t(base) + steps.deviation || rate < int64_t(base) - steps.deviation) return;
    head.SetPlayRate(uint32_t(rate));
    RequestRestart();
    return;
  }
}

void PlaybackEngine::FasterStep() { ChangeSpeed(+1); }

void PlaybackEngine::SlowerStep() { ChangeSpeed(-1); }

void PlaybackEngine::Skip(int64_t direction) {
  if (!playing_) return;
  PlayHead& head = cassette_.Head();
  head.NormalSpeed();
  Timer2.stop();
  FoldPosition();
  // Within the last second a skip forward only restarts the segment; back stops at the start.
  if (direction < 0 || head.Remaining() >= head.PlayRate()) {
    head.Wind(direction * int64_t(head.PlayRate()));
  }
  ShowPositionCounter();
  RequestRestart();
}

void PlaybackEngine::SkipForward() { Skip(+1); }

void PlaybackEngine::SkipBack() { Skip(-1); }

}  // namespace kiv
