// The sound card's output for the playback engine: Qt Multimedia's QAudioSink on the system's
// default output, playing unsigned 8-bit mono at the rate the device was opened with. The sink
// runs from Open to Close; each written buffer is fed to it through an OutputFeed, and the buffer
// counts as played once the sink's clock says its last byte has been heard, not merely taken.
#pragma once

#include <QByteArray>
#include <QTimer>
#include <cstdint>
#include <memory>

#include "platform/AudioDevices.h"

class QAudioSink;

namespace kiv {

class OutputFeed;

class QtAudioOutput final : public AudioOutput {
  Q_OBJECT

 public:
  explicit QtAudioOutput(QObject* parent = nullptr);
  ~QtAudioOutput() override;

  int Open(uint32_t rate) override;
  bool Write(const QByteArray& buffer) override;
  void Pause() override;
  void Restart() override;
  void Reset() override;
  void Close() override;
  bool IsOpen() const override { return sink_ != nullptr; }
  uint64_t Position() const override;

 private:
  // Lets go of `device` now and destroys it once the caller is done.
  void DeleteLater(std::unique_ptr<QAudioSink>& device);
  // Bytes the current run of the sink has played, from its clock.
  uint64_t PlayedThisRun() const;
  // Starts the sink on the feed; false with the sink's error when it cannot play.
  bool StartSink();
  void WatchBuffer();
  // The sink stops by itself only when its device fails.
  void OnSinkStateChanged();
  void ReturnBuffer();

  std::unique_ptr<QAudioSink> sink_;
  OutputFeed* feed_;
  QTimer watch_;
  uint32_t rate_ = 0;
  bool paused_ = false;
  // Stopping the sink restarts its clock, so Position adds the runs before the current one.
  uint64_t playedBefore_ = 0;
  // Bytes handed to the current run, an upper bound on what it can have played.
  uint64_t writtenThisRun_ = 0;
  bool bufferOut_ = false;
  uint64_t bufferEnd_ = 0;  // Position at which the buffer out has been played completely
  uint64_t lastWatchedPosition_ = 0;
  int stalledWatches_ = 0;
};

}  // namespace kiv
