#include "platform/fake/FakeAudioOutput.h"

#include <QMetaObject>
#include <algorithm>

namespace kiv {

int FakeAudioOutput::Open(uint32_t rate) {
  calls_.push_back("Open(" + std::to_string(rate) + ")");
  int code = kAudioOk;
  if (!openResults_.empty()) {
    code = openResults_.front();
    openResults_.pop_front();
  } else if (!acceptedRates_.isEmpty() && !acceptedRates_.contains(rate)) {
    code = kAudioBadFormat;
  }
  // A device reopened without Close starts afresh, as a new handle would.
  open_ = code == kAudioOk;
  paused_ = false;
  rate_ = open_ ? rate : 0;
  position_ = 0;
  return code;
}

bool FakeAudioOutput::Write(const QByteArray& buffer) {
  calls_.push_back("Write(" + std::to_string(buffer.size()) + ")");
  // The engines play one buffer per device; a second one while the first is out is their bug.
  if (!open_ || writeFails_ || hasBuffer_) return false;
  hasBuffer_ = true;
  buffer_ = buffer;
  playedOfBuffer_ = 0;
  // Nothing to play: it is done as soon as the device gets to it.
  if (buffer_.isEmpty()) ReturnBuffer();
  return true;
}

void FakeAudioOutput::Pause() {
  calls_.emplace_back("Pause");
  if (open_) paused_ = true;
}

void FakeAudioOutput::Restart() {
  calls_.emplace_back("Restart");
  paused_ = false;
}

void FakeAudioOutput::Reset() {
  calls_.emplace_back("Reset");
  if (hasBuffer_) ReturnBuffer();
}

void FakeAudioOutput::Close() {
  calls_.emplace_back("Close");
  if (hasBuffer_) ReturnBuffer();
  open_ = false;
  paused_ = false;
}

uint64_t FakeAudioOutput::Play(uint64_t bytes) {
  if (!open_ || !hasBuffer_ || paused_) return 0;
  const uint64_t size = static_cast<uint64_t>(buffer_.size());
  const uint64_t played = std::min(bytes, size - playedOfBuffer_);
  playedOfBuffer_ += played;
  position_ += played;
  if (playedOfBuffer_ == size) ReturnBuffer();
  return played;
}

uint64_t FakeAudioOutput::Finish() {
  if (!hasBuffer_) return 0;
  return Play(static_cast<uint64_t>(buffer_.size()) - playedOfBuffer_);
}

void FakeAudioOutput::ReturnBuffer() {
  hasBuffer_ = false;
  // Like the real device the buffer comes back later, on the event loop, never inside the call
  // that ended it; the engines rely on that to finish their own bookkeeping first.
  QMetaObject::invokeMethod(
      this,
      [this] {
        ++buffersDone_;
        Q_EMIT BufferDone();
      },
      Qt::QueuedConnection);
}

}  // namespace kiv
