#include "platform/fake/FakeAudioInput.h"

#include <QMetaObject>
#include <algorithm>
#include <utility>

namespace kiv {

int FakeAudioInput::Open(uint32_t rate) {
  calls_.push_back("Open(" + std::to_string(rate) + ")");
  const int code = openResults_.value(rate, defaultOpenResult_);
  open_ = code == kAudioOk;
  started_ = false;
  rate_ = open_ ? rate : 0;
  return code;
}

bool FakeAudioInput::AddBuffer(int size) {
  calls_.push_back("AddBuffer(" + std::to_string(size) + ")");
  if (!open_ || addBufferFails_ || size <= 0) return false;
  queue_.push_back(Buffer{size, {}});
  return true;
}

bool FakeAudioInput::Start() {
  calls_.emplace_back("Start");
  if (!open_ || startFails_) return false;
  started_ = true;
  return true;
}

void FakeAudioInput::Stop() {
  calls_.emplace_back("Stop");
  started_ = false;
  // The buffer being filled comes back with what it holds; the empty ones wait for the next
  // Start.
  if (!queue_.empty() && !queue_.front().data.isEmpty()) ReturnOldest();
}

void FakeAudioInput::Reset() {
  calls_.emplace_back("Reset");
  started_ = false;
  while (!queue_.empty()) ReturnOldest();
}

void FakeAudioInput::Close() {
  calls_.emplace_back("Close");
  for (Buffer& buffer : queue_) buffer.data.clear();
  while (!queue_.empty()) ReturnOldest();
  open_ = false;
  started_ = false;
}

int FakeAudioInput::Capture(const QByteArray& sound) {
  if (!open_ || !started_) return 0;
  qsizetype taken = 0;
  while (taken < sound.size() && !queue_.empty()) {
    Buffer& oldest = queue_.front();
    const qsizetype room = oldest.size - oldest.data.size();
    const qsizetype part = std::min(room, sound.size() - taken);
    oldest.data.append(sound.constData() + taken, part);
    taken += part;
    if (oldest.data.size() == oldest.size) ReturnOldest();
  }
  return static_cast<int>(taken);
}

void FakeAudioInput::ReturnOldest() {
  QByteArray data = std::move(queue_.front().data);
  queue_.pop_front();
  // Delivered later on the event loop, never inside the call that returned it.
  QMetaObject::invokeMethod(
      this,
      [this, data = std::move(data)] {
        ++buffersReturned_;
        Q_EMIT BufferFull(data);
      },
      Qt::QueuedConnection);
}

}  // namespace kiv
