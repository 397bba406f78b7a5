// An output device for tests: the test decides what each Open returns and how far the written
// buffer has been played, and reads back every call the engine made, in order. Returned buffers
// are announced through queued BufferDone signals, so a test calls
// QCoreApplication::processEvents() to let them arrive, just as the real device's do.
#pragma once

#include <QByteArray>
#include <QSet>
#include <cstdint>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "platform/AudioDevices.h"

namespace kiv {

class FakeAudioOutput final : public AudioOutput {
  Q_OBJECT

 public:
  using AudioOutput::AudioOutput;

  int Open(uint32_t rate) override;
  bool Write(const QByteArray& buffer) override;
  void Pause() override;
  void Restart() override;
  void Reset() override;
  void Close() override;
  bool IsOpen() const override { return open_; }
  uint64_t Position() const override { return position_; }

  // --- Scripting -------------------------------------------------------------------------------

  // Results of the coming Opens, first in first out; an Open with nothing queued succeeds unless
  // the rate is outside the accepted rates.
  void QueueOpenResult(int code) { openResults_.push_back(code); }
  // Only these rates open; every other rate gives kAudioBadFormat. Empty: every rate opens.
  void SetAcceptedRates(QSet<uint32_t> rates) { acceptedRates_ = std::move(rates); }
  // While set, Write refuses every buffer.
  void SetWriteFails(bool fails) { writeFails_ = fails; }

  // Plays up to `bytes` more of the written buffer (nothing while paused or without a buffer);
  // the buffer is returned when its last byte has been played. Returns the bytes played.
  uint64_t Play(uint64_t bytes);
  // Plays the rest of the written buffer, which is then returned; nothing while paused. Returns
  // the bytes played.
  uint64_t Finish();

  // --- What happened ---------------------------------------------------------------------------

  // "Open(11025)", "Write(4096)", "Pause", "Restart", "Reset", "Close", in call order.
  const std::vector<std::string>& Calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }
  // The buffer the device holds: written and not yet returned.
  bool HasBuffer() const { return hasBuffer_; }
  const QByteArray& Buffer() const { return buffer_; }
  uint64_t PlayedOfBuffer() const { return playedOfBuffer_; }
  bool IsPaused() const { return paused_; }
  uint32_t Rate() const { return rate_; }
  // Buffers handed back to the engine so far, counting only those whose BufferDone was emitted.
  int BuffersDone() const { return buffersDone_; }

 private:
  void ReturnBuffer();

  std::deque<int> openResults_;
  QSet<uint32_t> acceptedRates_;
  bool writeFails_ = false;

  std::vector<std::string> calls_;
  bool open_ = false;
  bool paused_ = false;
  uint32_t rate_ = 0;
  uint64_t position_ = 0;
  bool hasBuffer_ = false;
  QByteArray buffer_;
  uint64_t playedOfBuffer_ = 0;
  int buffersDone_ = 0;
};

}  // namespace kiv
