// The capture engine: records from the sound card's input onto the open cassette as a new
// message. It owns the input device's use, the queue of at most eight 1024-byte capture buffers,
// the conversion from the rate the card accepted to the cassette's rate, and the per-buffer
// guards that stop a recording when the disk fills up or the cassette reaches its capacity.
//
// The front panel owns the engine and everything it is given (cassette, device, free-space and
// dialogs services, view); all of them outlive it. Everything runs on the GUI thread: the device
// returns each buffer through a queued signal, handled by OnInputData one at a time.
//
// The play head is left alone while recording: the elapsed time is counted here, in device
// bytes, and ending the recording puts the head into the new message. Every buffer the device
// returns is released once handled, written or not.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <cstdint>

namespace kiv {

class AudioInput;
class Cassette;
class CaptureView;
class Dialogs;
class FreeSpace;

class CaptureEngine final : public QObject {
  Q_OBJECT

 public:
  static constexpr int kMaxQueuedBuffers = 8;
  static constexpr int kDefaultCaptureBufferSize = 1024;

  CaptureEngine(Cassette& cassette, AudioInput& input, const FreeSpace& freeSpace,
                Dialogs& dialogs, CaptureView& view, QObject* parent = nullptr);
  ~CaptureEngine() override;
  CaptureEngine(const CaptureEngine&) = delete;
  CaptureEngine& operator=(const CaptureEngine&) = delete;

  // ---- The engine's fields -----------------------------------------------------------------
  bool Recording() const { return recording_; }          // also while paused
  bool RecordPaused() const { return recordPaused_; }
  int QueuedCaptureBuffers() const { return queuedCaptureBuffers_; }
  int CaptureBufferSize() const { return captureBufferSize_; }
  float CaptureRatio() const { return captureRatio_; }   // BaseRate / the rate the card took
  // Bytes the device captured in this recording, paused sound left out: the elapsed time.
  uint32_t CapturedBytes() const { return capturedBytes_; }

  // ---- The transport's operations ----------------------------------------------------------
  // Record: starts a recording, or resumes a paused one. False when the tape does not run
  // afterwards: the Error #07 box has been shown, and a recording that could not start has
  // closed the device again (one that could not resume stays paused).
  bool StartRecording();
  // Pause while recording: the sound that arrives until the resume is dropped.
  void PauseCapture();
  // Resume of a paused recording; as StartRecording when it fails.
  bool ResumeCapture();
  // Stop: the message is written into the table and selected; the panel returns to idle.
  void StopRecording();
  // Puts the time left for recording into the message label's hint.
  void RefreshRemainingTime();

  // ---- The device's side -------------------------------------------------------------------
  bool OpenInput(uint32_t rate);
  bool QueueCaptureBuffer();
  bool StartCapture();
  void CloseInput();
  // One buffer the device returned, with the bytes captured into it.
  void OnInputData(const QByteArray& data);

  static QString Error07Caption();
  static QString Error07Text();
  // The box the user sees when a recording cannot start.
  void ShowError07();

 private:
  // Ends a start that failed: nothing stays open or queued, the record key is at rest again and
  // the user is told. Always false, for the caller to return.
  bool FailStart();
  // The captured bytes at the cassette's rate: each byte repeated, or only every n-th kept.
  QByteArray ToCassetteRate(const QByteArray& data) const;
  uint32_t DeviceRate() const;

  Cassette& cassette_;
  AudioInput& input_;
  const FreeSpace& freeSpace_;
  Dialogs& dialogs_;
  CaptureView& view_;

  bool recording_ = false;
  bool recordPaused_ = false;
  int captureBufferSize_ = kDefaultCaptureBufferSize;
  int queuedCaptureBuffers_ = 0;
  float captureRatio_ = 1.0f;
  uint32_t capturedBytes_ = 0;
};

}  // namespace kiv
