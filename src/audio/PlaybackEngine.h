// The playback engine: plays the selected message of the open cassette through the output device
// as a series of segments. Each segment is a freshly opened device holding one buffer of at most
// kMaxSegment bytes. Every change of position or speed resets the device, which cuts the buffer
// short; the buffer that comes back opens the next segment at the new place and rate.
//
// Ownership: the front panel owns the engine and everything it is given (the cassette, the output
// device, the dialogs service, the view), which all outlive it. The engine owns the use of the
// device (open from the start of a segment until its buffer is back, closed on every failure),
// the one OutputBuffer and Timer2. The play head (`PlayHead`) stays in the cassette, because
// selecting a message and ending a recording move it too; the engine moves it through the
// head's operations while it plays. It reads sound from the cassette and never writes it.
//
// The byte being heard is always the head's Position() + SegmentPlayed(): Position() is where
// the running segment began, SegmentPlayed() how much of it the device had played when asked.
// The device is asked at every progress tick and once more whenever the segment ends (its buffer
// came back, a pause, a stop, a restart), so the next segment starts at the exact byte the last
// one reached: no sound is heard twice and none is skipped.
//
// Everything runs on the GUI thread. BufferDone is queued, so a returned buffer is handled after
// the operation that made it return has finished.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>

#include "transport/TransportPlayer.h"

namespace kiv {

class AudioOutput;
class Cassette;
class Dialogs;
class PlaybackView;

class PlaybackEngine : public QObject, public TransportPlayer {
  Q_OBJECT

 public:
  // About 95 seconds at 11025 Hz: one buffer per device opening, no double buffering.
  static constexpr uint32_t kMaxSegment = 1048576;
  static constexpr int kTimer2Interval = 50;

  PlaybackEngine(Cassette& cassette, AudioOutput& output, Dialogs& dialogs, PlaybackView& view,
                 QObject* parent = nullptr);
  ~PlaybackEngine() override;
  Q_DISABLE_COPY_MOVE(PlaybackEngine)

  // Opens the output device at `rate`; on a refusal shows the error box for its code, leaves
  // the device closed and returns false.
  bool OpenOutput(uint32_t rate);
  // Plays the selected message from the effective position. Does nothing at the message's end,
  // while a playback runs, or when the device or the cassette fails (the box has been shown).
  void StartPlayback();
  // The device gave the written buffer back: the next segment follows, or the playback ends.
  void OnOutputDone();
  // Timer2: the counter and the analyser follow the device.
  void ProgressTick();
  // Ends the running segment now; its buffer, when back, opens the next one at the position and
  // PlayRate the caller has set. A pause ends with it: the new segment plays.
  void RequestRestart() override;
  void TogglePause();
  // The playback ends when its buffer is back (StopRequested).
  void StopPlayback();
  // Slow and fast play: one step of PlayRate, within the deviation the base rate allows.
  void FasterStep();
  void SlowerStep();
  // One second of tape forward or back, at normal speed.
  void SkipForward() override;
  void SkipBack() override;
  // Folds the bytes the device has played into the head's position. Whoever moves the head
  // during a playback calls this first, so that a move relative to the current place starts
  // from the byte being heard, then moves the head and calls RequestRestart.
  void FoldPosition() override;

  bool Playing() const override { return playing_; }
  bool PlayPaused() const { return playPaused_; }
  bool StopRequested() const { return stopRequested_; }
  // 0 while no playback runs; 1 when the running segment reaches the end of the message; 2 or
  // more when another segment follows or a restart is on its way.
  int32_t SegmentsPending() const { return segmentsPending_; }
  const QByteArray& OutputBuffer() const { return outputBuffer_; }
  bool Timer2Running() const { return Timer2.isActive(); }

  // Tests make output buffer allocations fail, as if memory had run out: `fails` is asked with
  // the size of every allocation.
  void SetAllocationFaults(std::function<bool(qsizetype size)> fails) {
    allocationFails_ = std::move(fails);
  }

 private:
  enum class SegmentResult { Written, OutOfMemory, Failed };

  // Fills OutputBuffer from the head's position and writes it to the open device.
  SegmentResult WriteSegment();
  bool ContinueWithNextSegment();
  void FinishPlayback();
  void ReleaseDevice();
  void ShowOpenError(int code);
  void ShowPositionCounter();
  void ChangeSpeed(int64_t direction);
  void Skip(int64_t direction);

  uint32_t PlayedOnDevice() const;
  void CatchUpWithDevice();
  void RememberHead();
  bool HeadUntouched() const;

  Cassette& cassette_;
  AudioOutput& output_;
  Dialogs& dialogs_;
  PlaybackView& view_;

  int32_t segmentsPending_ = 0;
  bool playing_ = false;
  bool playPaused_ = false;
  bool stopRequested_ = false;
  QByteArray outputBuffer_;
  QTimer Timer2;

  // A buffer was written and has not come back yet.
  bool bufferOut_ = false;
  // The running segment's device position still tells where the play head is: true from the
  // write until the position is folded or moved, the device reset or the buffer back.
  bool segmentLive_ = false;
  uint32_t segmentLength_ = 0;
  // The play head as the engine last left it; a difference means someone else moved it.
  uint32_t headPosition_ = 0;
  uint32_t headPlayed_ = 0;

  std::function<bool(qsizetype)> allocationFails_;
};

}  // namespace kiv
