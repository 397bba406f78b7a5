// The sound card's input for the capture engine: Qt Multimedia's QAudioSource on the system's
// default input, recording unsigned 8-bit mono at the rate the device was opened with into the
// buffers the engine adds, oldest first. The source runs from Open to Close; what it delivers
// outside Start … Stop is dropped, as a stopped card records nothing.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <deque>
#include <memory>

#include "platform/AudioDevices.h"

class QAudioSource;
class QIODevice;

namespace kiv {

class QtAudioInput final : public AudioInput {
  Q_OBJECT

 public:
  explicit QtAudioInput(QObject* parent = nullptr);
  ~QtAudioInput() override;

  int Open(uint32_t rate) override;
  bool AddBuffer(int size) override;
  bool Start() override;
  void Stop() override;
  void Reset() override;
  void Close() override;
  bool IsOpen() const override { return source_ != nullptr; }

 private:
  // Lets go of `device` now and destroys it once the caller is done.
  void DeleteLater(std::unique_ptr<QAudioSource>& device);
  struct Buffer {
    int size = 0;
    QByteArray data;
  };

  // Moves what the source has delivered into the buffers; dropped while stopped.
  void TakeSound();
  void ReturnOldest();

  std::unique_ptr<QAudioSource> source_;
  QIODevice* sound_ = nullptr;  // owned by source_
  bool started_ = false;
  std::deque<Buffer> queue_;
};

}  // namespace kiv
