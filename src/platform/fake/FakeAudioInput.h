// An input device for tests: the test decides which rates open and what sound arrives, and
// reads back every call the engine made, in order. Filled buffers are announced through queued
// BufferFull signals, so a test calls QCoreApplication::processEvents() to let them arrive, just
// as the real device's do.
#pragma once

#include <QByteArray>
#include <QHash>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/AudioDevices.h"

namespace kiv {

class FakeAudioInput final : public AudioInput {
  Q_OBJECT

 public:
  using AudioInput::AudioInput;

  int Open(uint32_t rate) override;
  bool AddBuffer(int size) override;
  bool Start() override;
  void Stop() override;
  void Reset() override;
  void Close() override;
  bool IsOpen() const override { return open_; }

  // --- Scripting -------------------------------------------------------------------------------

  // What Open at `rate` returns; rates without an entry give the default result (0 at first).
  // A card that only takes 8000 Hz: SetDefaultOpenResult(kAudioBadFormat), SetOpenResult(8000, 0).
  void SetOpenResult(uint32_t rate, int code) { openResults_.insert(rate, code); }
  void SetDefaultOpenResult(int code) { defaultOpenResult_ = code; }
  // While set, AddBuffer refuses every buffer, or Start fails.
  void SetAddBufferFails(bool fails) { addBufferFails_ = fails; }
  void SetStartFails(bool fails) { startFails_ = fails; }

  // Sound arriving at the started device: fills the queued buffers oldest first, returning each
  // one as it becomes full. Nothing is taken while the device is stopped or has no buffers; the
  // rest of `sound` is lost then, as it would be on a real card. Returns the bytes taken.
  int Capture(const QByteArray& sound);

  // --- What happened ---------------------------------------------------------------------------

  // "Open(11025)", "AddBuffer(1024)", "Start", "Stop", "Reset", "Close", in call order.
  const std::vector<std::string>& Calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }
  // Buffers the device holds: added and not yet returned.
  int QueuedBuffers() const { return static_cast<int>(queue_.size()); }
  bool IsStarted() const { return started_; }
  uint32_t Rate() const { return rate_; }
  // Buffers handed back to the engine so far, counting only those whose BufferFull was emitted.
  int BuffersReturned() const { return buffersReturned_; }

 private:
  struct Buffer {
    int size = 0;
    QByteArray data;
  };

  void ReturnOldest();

  QHash<uint32_t, int> openResults_;
  int defaultOpenResult_ = kAudioOk;
  bool addBufferFails_ = false;
  bool startFails_ = false;

  std::vector<std::string> calls_;
  bool open_ = false;
  bool started_ = false;
  uint32_t rate_ = 0;
  std::deque<Buffer> queue_;
  int buffersReturned_ = 0;
};

}  // namespace kiv
